# Installation and the Debian package: the programs, the menu entries with
# their icon, the manual pages and the package's own documents.
#
#   cmake --install build                        programs and desktop files
#   cmake --install build --prefix DIR --component horalis
#                                                the programs alone, in DIR
#   cmake --install build --component windows    the Windows programs (cross-built
#                                                apart) and enlazor-wine
#   cpack --config build/CPackConfig.cmake       enlazor_<version>_<arch>.deb
include(GNUInstallDirs)

set(ENLAZOR_PACKAGE_MAINTAINER "Enlazor <enlazor@example.org>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")

set(enlazor_programs enlazor-cli)
set(enlazor_pages enlazor-cli.1)
if(TARGET enlazor)
  list(APPEND enlazor_programs enlazor)
  list(APPEND enlazor_pages enlazor.1)
endif()
if(TARGET enlazor-comprobar)
  list(APPEND enlazor_programs enlazor-comprobar)
  list(APPEND enlazor_pages enlazor-comprobar.1)
endif()
install(TARGETS ${enlazor_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)

# Hosted mode writes Horalis.ini in the folder of the running executable,
# symbolic links resolved, so a school that runs Horalis from a private
# folder puts real copies of the programs there, not links to /usr/bin.
install(TARGETS ${enlazor_programs} RUNTIME DESTINATION . COMPONENT horalis EXCLUDE_FROM_ALL)

if(TARGET enlazor)
  install(FILES data/enlazor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT desktop)
  install(FILES data/enlazor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT desktop)
endif()
# The check window's own menu entry, and "Open with" for SAGA documents.
if(TARGET enlazor-comprobar)
  install(FILES data/enlazor-comprobar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT desktop)
endif()

# The Spanish help: the compiled file, which F1 opens when no SAGA.chm lies
# beside the program (found as bin/../share/enlazor/ayuda), and its pages
# for a browser. enlazor-wine copies the same file into Horalis's folder.
if(TARGET enlazor_help)
  set(enlazor_help_dir ${CMAKE_INSTALL_DATADIR}/enlazor/ayuda)
  install(FILES ${ENLAZOR_HELP_FILE} DESTINATION ${enlazor_help_dir} COMPONENT desktop)
  install(DIRECTORY ${ENLAZOR_HELP_SOURCE_DIR}/ DESTINATION ${enlazor_help_dir} COMPONENT desktop
          FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.png")
endif()

# The Windows programs, for Horalis running under Wine: it hands Enlazor a
# Win32 window, which only the Windows build can live in. They come from the
# cross build (scripts/build-windows.sh), not from this one, and are carried
# byte for byte; enlazor-wine copies them into Horalis's folder of a prefix.
# One list names them, by their targets in the cross build: scripts/build.sh
# builds those targets, the package carries <target>.exe, enlazor-wine
# installs and removes exactly those files.
set(ENLAZOR_WINDOWS_PROGRAM_TARGETS enlazor enlazor-cli enlazor-comprobar)
set(ENLAZOR_WINDOWS_PROGRAMS ${PROJECT_SOURCE_DIR}/build-windows/bin CACHE PATH
    "Folder of the cross-built Windows programs the Debian package carries")
set(enlazor_windows_dir lib/enlazor/windows)
# The help enlazor-wine copies beside them (cmake/help.cmake makes it).
set(ENLAZOR_HELP_FILE_NAME Enlazor-ayuda.chm)
if(ENLAZOR_HELP_NAME)
  set(ENLAZOR_HELP_FILE_NAME ${ENLAZOR_HELP_NAME}.chm)
endif()
list(TRANSFORM ENLAZOR_WINDOWS_PROGRAM_TARGETS APPEND .exe OUTPUT_VARIABLE enlazor_windows_files)
list(JOIN enlazor_windows_files " " ENLAZOR_WINDOWS_PROGRAM_FILES)
string(REPLACE ";" "\n" enlazor_windows_lines "${ENLAZOR_WINDOWS_PROGRAM_TARGETS}")
file(WRITE ${CMAKE_BINARY_DIR}/windows-programs "${enlazor_windows_lines}\n")
configure_file(data/enlazor-wine.in ${CMAKE_BINARY_DIR}/bin/enlazor-wine @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE)
list(TRANSFORM enlazor_windows_files PREPEND ${ENLAZOR_WINDOWS_PROGRAMS}/
     OUTPUT_VARIABLE enlazor_windows_paths)
# Apart from the default installation, which needs no cross build; the
# package takes it, and cpack stops with a message when a program is missing
# (cmake/windows-programs-check.cmake). Wine runs them, not the kernel, so
# they go without the execute bit, as Wine itself writes programs.
install(FILES ${enlazor_windows_paths} DESTINATION ${enlazor_windows_dir}
        COMPONENT windows EXCLUDE_FROM_ALL)
install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/enlazor-wine DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT windows EXCLUDE_FROM_ALL)

# Manual pages and the changelog compressed as Debian ships them (gzip -9n:
# no name or time stamp, so the same sources give the same bytes).
set(enlazor_compressed)
set(enlazor_windows_pages enlazor-wine.1)
foreach(page IN LISTS enlazor_pages enlazor_windows_pages)
  set(output ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${page} > ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${page})
  list(APPEND enlazor_compressed ${output})
  if(page IN_LIST enlazor_windows_pages)
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT windows EXCLUDE_FROM_ALL)
  else()
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
  endif()
endforeach()

configure_file(data/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/doc/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog)
list(APPEND enlazor_compressed ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_target(enlazor_compressed_docs ALL DEPENDS ${enlazor_compressed})

set(enlazor_docdir ${CMAKE_INSTALL_DATADIR}/doc/enlazor)
install(FILES data/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${enlazor_docdir}
        COMPONENT desktop)

# ---- the Debian package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME enlazor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ENLAZOR_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# One package of the components it lists: the Windows side is left out of a
# plain installation, so it is named here.
set(CPACK_COMPONENTS_ALL programs desktop windows)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_ENLAZOR_WINDOWS_PATHS ${enlazor_windows_paths})
set(CPACK_ENLAZOR_WINDOWS_TARGETS ${ENLAZOR_WINDOWS_PROGRAM_TARGETS})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/windows-programs-check.cmake)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "school data exchange between SAGA and Horalis\n"
    "Enlazor turns the subjects, teachers, rooms and groups of a SAGA document\n"
    "into the dBase tables of the Horalis timetabler, and writes the timetable\n"
    "Horalis computed back into the document. It has a window for the two\n"
    "directions, which Horalis can also start inside its own window, and a\n"
    "command-line tool, enlazor-cli, that also checks a school's data before\n"
    "anything is written, as the window enlazor-comprobar does for those who\n"
    "never open a terminal. The Windows build of both comes along for Horalis\n"
    "running under Wine, with enlazor-wine to put it into Horalis's folder.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
# The runtime libraries the programs link, as Debian names them: found by
# dpkg-shlibdeps where it is installed (dpkg-dev), else listed for Debian 12.
# Qt's own translations make the file dialog and the standard buttons speak
# the user's language; a CHM viewer lets F1 open SAGA.chm.
find_program(ENLAZOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ENLAZOR_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12), libpugixml1v5 (>= 1.11), libexpat1 (>= 2.5.0), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libx11-6, qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm")
include(CPack)
