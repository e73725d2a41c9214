# Installation and the Windows packages: an installer that puts the
# programs into Horalis's folder, and a .zip of them for those who copy them
# there by hand.
#
#   cmake --install build-windows --prefix DIR    the programs, straight into DIR
#   cpack --config build-windows/CPackConfig.cmake
#                              Enlazor-<version>-win64.exe and Enlazor-<version>-win64.zip
#
# bash scripts/windows-installer-check.sh builds both and tries the installer
# under Wine.
set(enlazor_windows_packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)
cmake_path(NORMAL_PATH enlazor_windows_packaging)

set(ENLAZOR_PUBLISHER "Enlazor developers" CACHE STRING
    "Publisher shown in Windows' list of installed programs")

set(enlazor_programs enlazor-cli)
if(TARGET enlazor)
  list(PREPEND enlazor_programs enlazor)
endif()
# The "Comprobar datos" window, beside the others; the installer gives it a
# Start-menu entry of its own.
if(TARGET enlazor-comprobar)
  list(APPEND enlazor_programs enlazor-comprobar)
endif()
# No bin/: Horalis starts Enlazor from its own folder, and hosted mode writes
# Horalis.ini beside the executable, so the programs go into the root.
install(TARGETS ${enlazor_programs} RUNTIME DESTINATION .)

set(CPACK_PACKAGE_NAME Enlazor)
set(CPACK_PACKAGE_VENDOR "${ENLAZOR_PUBLISHER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Enlazor-${PROJECT_VERSION}-win64)
# Named after what it removes: a plain "Uninstall.exe" could be Horalis's own.
set(CPACK_NSIS_UNINSTALL_NAME Desinstalar-Enlazor)

# A short Spanish text on where the programs go, silent roll-outs and the
# licences of what is linked into them; UTF-8 with a byte-order mark and
# CRLF, which every Notepad reads.
configure_file(${enlazor_windows_packaging}/LEEME-Enlazor.txt.in
               ${CMAKE_BINARY_DIR}/LEEME-Enlazor.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/LEEME-Enlazor.txt DESTINATION .)

# The Spanish help, beside the programs under its own name, which is never
# Horalis's: the programs open it while no SAGA.chm is there, and the
# installer also copies it to SAGA.chm when the folder has none.
if(TARGET enlazor_help)
  install(FILES ${ENLAZOR_HELP_FILE} DESTINATION .)
  set(CPACK_ENLAZOR_HELP_FILE_NAME ${ENLAZOR_HELP_NAME}.chm)
endif()

# The installer and its uninstaller wear the window's icon.
set(enlazor_icon ${CMAKE_CURRENT_LIST_DIR}/../src/win/art/enlazor.ico)
cmake_path(NORMAL_PATH enlazor_icon)
if(EXISTS ${enlazor_icon})
  set(CPACK_NSIS_MUI_ICON ${enlazor_icon})
  set(CPACK_NSIS_MUI_UNIICON ${enlazor_icon})
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_STRIP_FILES ON)
# The zip holds the files themselves, to be dropped into Horalis's folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Our own installer script (NSIS.template.in): Spanish pages, Horalis's
# folder, the Start-menu entry and an uninstaller that spares Horalis's files.
set(CPACK_MODULE_PATH ${enlazor_windows_packaging})
include(CPack)
