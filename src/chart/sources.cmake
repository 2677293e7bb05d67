# The chart component: model, layout, drawing and the metafile writer are toolkit-free;
# the QPainter canvas and the widget are the Qt side.
target_sources(vexorel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/axis.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/geometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/render.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wmfcanvas.cpp
)
target_sources(vexorel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/qpaintercanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tchart.cpp
)
