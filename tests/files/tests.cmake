target_sources(vexorel_core_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/test_measurementfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/smallfs.cpp
)
target_sources(vexorel_ui_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/test_filecommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/smallfs.cpp
)
