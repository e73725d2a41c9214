# Read by cpack before it builds the Debian package: a package without the
# Windows programs would install an enlazor-wine with nothing to install, so
# none is built, and the message says where the programs were looked for.
set(enlazor_missing)
foreach(program IN LISTS CPACK_ENLAZOR_WINDOWS_PATHS)
  if(NOT EXISTS "${program}")
    list(APPEND enlazor_missing "${program}")
  endif()
endforeach()
if(enlazor_missing)
  list(JOIN enlazor_missing "\n  " enlazor_missing)
  list(JOIN CPACK_ENLAZOR_WINDOWS_TARGETS " " enlazor_targets)
  message(FATAL_ERROR
    "The Debian package carries the Windows programs, and these are missing:\n"
    "  ${enlazor_missing}\n"
    "Build them with 'bash scripts/build-windows.sh --target ${enlazor_targets}' "
    "(scripts/build.sh does it after the Linux build), or point "
    "ENLAZOR_WINDOWS_PROGRAMS at the folder that holds them "
    "(cmake -B build -DENLAZOR_WINDOWS_PROGRAMS=DIR).")
endif()
