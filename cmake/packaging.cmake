# Installation and the Debian package: the two programs, the menu entry with
# its icon, the manual pages and the package's own documents.
#
#   cmake --install build                        programs and desktop files
#   cmake --install build --prefix DIR --component horalis
#                                                the programs alone, in DIR
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

# Manual pages and the changelog compressed as Debian ships them (gzip -9n:
# no name or time stamp, so the same sources give the same bytes).
set(enlazor_compressed)
foreach(page IN LISTS enlazor_pages)
  set(output ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${page} > ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${page})
  list(APPEND enlazor_compressed ${output})
  install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
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
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "school data exchange between SAGA and Horalis\n"
    "Enlazor turns the subjects, teachers, rooms and groups of a SAGA document\n"
    "into the dBase tables of the Horalis timetabler, and writes the timetable\n"
    "Horalis computed back into the document. It has a window for the two\n"
    "directions, which Horalis can also start inside its own window, and a\n"
    "command-line tool, enlazor-cli, that also checks a school's data before\n"
    "anything is written.")
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
      "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12), libpugixml1v5 (>= 1.11), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libx11-6, qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm")
include(CPack)
