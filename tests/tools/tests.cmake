# The simulated chronograph: its line generator and options, and a real pseudo-terminal.
add_executable(vexorel_tools_tests
    ${CMAKE_CURRENT_LIST_DIR}/test_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_transmission.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_virtualline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/tempdir.cpp
)
target_include_directories(vexorel_tools_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vexorel_tools_tests PRIVATE chronolite_sim GTest::gtest_main vexorel_options)
set_target_properties(vexorel_tools_tests PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
gtest_discover_tests(vexorel_tools_tests DISCOVERY_TIMEOUT 60)
