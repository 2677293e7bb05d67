target_sources(vexorel_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/test_bulletcommands.cpp)
