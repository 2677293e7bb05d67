# The serial port component (fake device, real pseudo-terminals, setting texts, port list) and
# the runtime pieces it brings along (hand-over queue, ASCII text).
add_executable(vexorel_serial_tests
    ${CMAKE_CURRENT_LIST_DIR}/pump.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/runtime/test_asciitext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_handover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_comport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_dispatch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_termiosmap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_pty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_settingtexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_portlist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_escapecodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_comterminal.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/tempdir.cpp
)
target_include_directories(vexorel_serial_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vexorel_serial_tests PRIVATE vexorel_core GTest::gtest_main util vexorel_options)
set_target_properties(vexorel_serial_tests PROPERTIES AUTOMOC OFF)
gtest_discover_tests(vexorel_serial_tests DISCOVERY_TIMEOUT 60)

# The Qt binding of the hand-over queue, with its own event loop.
add_executable(vexorel_serial_qt_tests ${CMAKE_CURRENT_LIST_DIR}/test_qthandover.cpp)
target_link_libraries(vexorel_serial_qt_tests PRIVATE vexorel_ui Qt6::Test GTest::gtest util
    vexorel_options)
gtest_discover_tests(vexorel_serial_qt_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The setup dialog, offscreen, with prompts answered from a script.
add_executable(vexorel_serial_ui_tests
    ${CMAKE_CURRENT_LIST_DIR}/test_comsetup.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/scriptedprompter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/tempdir.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/uitestmain.cpp
)
target_include_directories(vexorel_serial_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vexorel_serial_ui_tests PRIVATE vexorel_ui Qt6::Test GTest::gtest
    vexorel_options)
gtest_discover_tests(vexorel_serial_ui_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
