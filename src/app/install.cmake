# What `cmake --install` puts beside the programs (installed by their own folders): the desktop
# entry, the icon in the hicolor theme's sizes and the AppStream metadata, all named by the
# application id so that the desktop and software centres find each other's files.
configure_file(${CMAKE_CURRENT_LIST_DIR}/rq508.desktop.in
               ${RQ508_GENERATED_DIR}/${RQ508_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/rq508.metainfo.xml.in
               ${RQ508_GENERATED_DIR}/${RQ508_APP_ID}.metainfo.xml @ONLY)

install(FILES ${RQ508_GENERATED_DIR}/${RQ508_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${RQ508_GENERATED_DIR}/${RQ508_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

file(GLOB icon_sizes LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor
     CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor/*)
foreach(size ${icon_sizes})
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor/${size}/apps/rq508.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
            RENAME ${RQ508_APP_ID}.png)
endforeach()
