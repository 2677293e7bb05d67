# The chart component and the toolkit-free half of the chart commands, without a display.
add_executable(vexorel_chart_tests
    ${CMAKE_CURRENT_LIST_DIR}/test_chart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_wmf.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wmfreader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../charts/test_redrawcore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/tempdir.cpp
)
target_include_directories(vexorel_chart_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vexorel_chart_tests PRIVATE vexorel_core GTest::gtest_main vexorel_options)
set_target_properties(vexorel_chart_tests PROPERTIES AUTOMOC OFF)
gtest_discover_tests(vexorel_chart_tests DISCOVERY_TIMEOUT 60)
