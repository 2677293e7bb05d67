# The serial port's costs over a real pseudo-terminal: idle CPU, latency to the GUI
# thread, receive throughput.
add_executable(bench_serial ${CMAKE_CURRENT_LIST_DIR}/bench_serial.cpp)
target_link_libraries(bench_serial PRIVATE vexorel_core benchmark::benchmark_main util
    vexorel_options)

# The terminal's parser and screen on a mixed stream of text and escape sequences.
add_executable(bench_terminal ${CMAKE_CURRENT_LIST_DIR}/bench_terminal.cpp)
target_link_libraries(bench_terminal PRIVATE vexorel_core benchmark::benchmark_main
    vexorel_options)
