# Embeds the application icon as ":/icons/rq508.ico" into the given target (icons.qrc).
# Usage, in the folder's CMakeLists.txt: include(icons/icons.cmake) then
# rq508_add_icon_resource(<target>).

# Qt's imported targets (rcc among them) belong to the folder that finds them; without rcc here
# qt_add_resources would quietly produce nothing.
find_package(Qt6 REQUIRED COMPONENTS Core)

function(rq508_add_icon_resource target)
    qt_add_resources(resource_sources ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/icons.qrc)
    if(NOT resource_sources)
        message(FATAL_ERROR "the icon resource for ${target} was not generated")
    endif()
    target_sources(${target} PRIVATE ${resource_sources})
endfunction()
