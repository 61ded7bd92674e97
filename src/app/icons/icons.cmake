# Embeds the application icon as ":/icons/rq508.ico" into the given target (icons.qrc).
# Usage, in the folder's CMakeLists.txt: include(icons/icons.cmake) then
# rq508_add_icon_resource(<target>).
function(rq508_add_icon_resource target)
    qt_add_resources(resource_sources ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/icons.qrc)
    target_sources(${target} PRIVATE ${resource_sources})
endfunction()
