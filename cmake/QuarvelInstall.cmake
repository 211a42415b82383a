# What `cmake --install` puts in place besides the two programs (each program
# installs itself where it is built): the desktop entry, the icon, the
# AppStream description, the demo core, which `quarvel --demo` finds beside
# the installed program in share/quarvel/demo, the manual pages, the
# changelog and the copyright notice.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/dist/quarvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/quarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/demo/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quarvel/demo)

set(QUARVEL_METAINFO ${PROJECT_BINARY_DIR}/dist/org.quarvel.Quarvel.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/dist/org.quarvel.Quarvel.metainfo.xml.in
               ${QUARVEL_METAINFO} @ONLY)
install(FILES ${QUARVEL_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The maintainer of the package, named in its control file and changelog.
set(QUARVEL_MAINTAINER "Quarvel maintainers <maintainers@users.noreply.c-seed-96decc43.example>")

# Documents under share/doc/quarvel, compressed as Debian wants them: the
# changelog (CHANGELOG.md.gz) and, since the package is its own upstream, a
# one-entry Debian changelog (changelog.gz) pointing to it; the copyright.
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND date -u -R -d ${QUARVEL_RELEASE_DATE}
                OUTPUT_VARIABLE QUARVEL_RELEASE_DATE_RFC5322 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(docBuild ${PROJECT_BINARY_DIR}/doc)
configure_file(${PROJECT_SOURCE_DIR}/dist/debian-changelog.in ${docBuild}/changelog @ONLY)
add_custom_command(OUTPUT ${docBuild}/changelog.gz ${docBuild}/CHANGELOG.md.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${docBuild}/CHANGELOG.md
  COMMAND ${GZIP} -9nkf ${docBuild}/changelog ${docBuild}/CHANGELOG.md
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${docBuild}/changelog
  COMMENT "Compressing the changelogs")
add_custom_target(quarvel_docs ALL DEPENDS ${docBuild}/changelog.gz ${docBuild}/CHANGELOG.md.gz)
set(docDir ${CMAKE_INSTALL_DATADIR}/doc/quarvel)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright ${docBuild}/changelog.gz
              ${docBuild}/CHANGELOG.md.gz
        DESTINATION ${docDir})

# Manual pages, written by help2man from each program's --help and --version
# (plus the sections in dist/man), so they cannot drift from the programs.
# help2man is optional for a build; scripts/make-package.sh installs it.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(STATUS "help2man not found: the manual pages are not built")
  return()
endif()
set(manPrograms quarvel-synth)
if(QUARVEL_BUILD_GUI)
  list(APPEND manPrograms quarvel)
endif()
set(manPages)
foreach(program IN LISTS manPrograms)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --include=${PROJECT_SOURCE_DIR}/dist/man/${program}.h2m
            --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/dist/man/${program}.h2m
    COMMENT "Writing the manual page of ${program}")
  list(APPEND manPages ${page}.gz)
endforeach()
add_custom_target(quarvel_manual_pages ALL DEPENDS ${manPages})
install(FILES ${manPages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
