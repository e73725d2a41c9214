# The resources every Windows program of ours carries: the icon, the
# application manifest and the version information.
#
#   enlazor_windows_resources(<target> "<description in Spanish>" [OWN <file.rc>])
#
# OWN names the program's own resource file (its glyphs, say), compiled in
# the same run of the resource compiler: each run numbers its icons' images
# from 1, so two files with icons would give the program two images under
# one number, and Windows shows whichever it finds first.
set(ENLAZOR_VERSION_NUMBERS_DOTTED ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
string(REPLACE "." "," ENLAZOR_VERSION_NUMBERS ${ENLAZOR_VERSION_NUMBERS_DOTTED})

function(enlazor_windows_resources target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" OWN "")
  set(ENLAZOR_RESOURCE_OWN "")
  set(own "")
  if(arg_OWN)
    cmake_path(ABSOLUTE_PATH arg_OWN BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE own)
    set(ENLAZOR_RESOURCE_OWN "#include \"${own}\"")
  endif()
  set(ENLAZOR_RESOURCE_INTERNAL_NAME ${target})
  set(ENLAZOR_RESOURCE_DESCRIPTION ${description})
  set(ENLAZOR_RESOURCE_ICON ${PROJECT_SOURCE_DIR}/src/win/art/enlazor.ico)
  set(ENLAZOR_RESOURCE_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.exe.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in
                 ${ENLAZOR_RESOURCE_MANIFEST} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_program.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
    ${ENLAZOR_RESOURCE_ICON} ${ENLAZOR_RESOURCE_MANIFEST} ${own})
  target_sources(${target} PRIVATE ${rc})
endfunction()
