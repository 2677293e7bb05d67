target_sources(vexorel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/bulletcommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tform2.cpp
)
