# What `cmake --install` puts in place besides the two programs (each program
# installs itself where it is built): the desktop entry, the icon and the
# demo core, which `quarvel --demo` finds beside the installed program in
# share/quarvel/demo.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/dist/quarvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/quarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/demo/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quarvel/demo)
