add_executable(bench_download ${CMAKE_CURRENT_LIST_DIR}/bench_download.cpp)
target_include_directories(bench_download PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(bench_download PRIVATE vexorel_ui benchmark::benchmark util vexorel_options)
