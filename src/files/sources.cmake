target_sources(vexorel_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/measurementfile.cpp)
target_sources(vexorel_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filecommands.cpp)
