# The serial port component and the runtime pieces it needs: ASCII text, thread, hand-over queue.
target_sources(vexorel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../runtime/asciitext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../runtime/handover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../runtime/thread.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/customspeed.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/event.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/fakedevice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/portlist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/posixdevice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/termiosmap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comdispatch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comerror.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comselect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comsettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comterminal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comthread.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comtypes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/escapecodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inifile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settingtexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settingsstore.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(vexorel_core PUBLIC Threads::Threads)

# The Qt binding that wakes the GUI thread for hand-overs.
target_sources(vexorel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/comcombobox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/comsetupfrm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/qthandover.cpp
)
