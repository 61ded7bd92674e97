# Embeds the pictures of the dialogs (pictures.qrc: ":/pictures/logo.bmp") into rq508_ui.
# The compiled resource is an object library handed on to every program that links rq508_ui:
# inside a static library nothing would refer to its initialiser, and the linker would drop it.
find_package(Qt6 REQUIRED COMPONENTS Core)
qt_add_resources(rq508_ui_picture_sources ${CMAKE_CURRENT_LIST_DIR}/pictures.qrc)
add_library(rq508_ui_pictures OBJECT ${rq508_ui_picture_sources})
target_link_libraries(rq508_ui_pictures PRIVATE Qt6::Core)
target_sources(rq508_ui INTERFACE $<TARGET_OBJECTS:rq508_ui_pictures>)
