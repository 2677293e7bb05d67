add_executable(bench_files ${CMAKE_CURRENT_LIST_DIR}/bench_files.cpp)
target_link_libraries(bench_files PRIVATE vexorel_ui benchmark::benchmark vexorel_options)
target_include_directories(bench_files PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
