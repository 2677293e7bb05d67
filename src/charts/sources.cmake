# Redraw and the external series store are toolkit-free; the handlers of the main window
# that use them are the Qt side.
target_sources(vexorel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/externalseries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/redraw.cpp
)
target_sources(vexorel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/chartexport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tform1charts.cpp
)
