# The chart commands of the main window, offscreen, with prompts answered from a script.
add_executable(vexorel_charts_tests
    ${CMAKE_CURRENT_LIST_DIR}/test_chartcommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../chart/wmfreader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/scriptedprompter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/tempdir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/uitestmain.cpp
)
target_include_directories(vexorel_charts_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vexorel_charts_tests PRIVATE vexorel_ui Qt6::Test GTest::gtest vexorel_options)
gtest_discover_tests(vexorel_charts_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
