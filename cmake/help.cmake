# The Spanish help: the pages of docs/help compiled with chmcmd (Debian's
# fp-utils) into Enlazor-ayuda.chm, the same file for Linux and Windows.
# chmcmd names the help contexts' pages by their absolute path on this
# machine; chm_relative_contexts.py, reading the file with chmlib's
# extract_chmLib (libchm-bin), makes them the pages inside the file, so
# that F1 finds its page wherever the file goes.
#
#   build/share/enlazor/ayuda/Enlazor-ayuda.chm
#
# It lies where the installed programs find it relative to their own
# folder (bin/../share/enlazor/ayuda), in the build tree as after
# installation. Windows' packaging puts it beside enlazor.exe instead.
find_program(ENLAZOR_CHMCMD chmcmd)
find_program(ENLAZOR_EXTRACT_CHMLIB extract_chmLib)
find_package(Python3 COMPONENTS Interpreter)
if(NOT ENLAZOR_CHMCMD OR NOT ENLAZOR_EXTRACT_CHMLIB OR NOT Python3_Interpreter_FOUND)
  message(WARNING "chmcmd (package fp-utils-3.2.2), extract_chmLib (libchm-bin) or python3 is "
                  "missing: the help is not built. scripts/install-deps.sh installs them.")
  return()
endif()

set(ENLAZOR_HELP_NAME Enlazor-ayuda)
set(ENLAZOR_HELP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/docs/help)
set(ENLAZOR_HELP_FILE ${CMAKE_BINARY_DIR}/share/enlazor/ayuda/${ENLAZOR_HELP_NAME}.chm)
set(enlazor_help_project ${CMAKE_BINARY_DIR}/help-project)
file(GLOB_RECURSE enlazor_help_sources CONFIGURE_DEPENDS
  ${ENLAZOR_HELP_SOURCE_DIR}/*.html ${ENLAZOR_HELP_SOURCE_DIR}/*.css ${ENLAZOR_HELP_SOURCE_DIR}/img/*.png)
# The project folder is made afresh each time (make_help_project.py empties
# it), so a page taken out of the sources is out of the compiled file too.
add_custom_command(OUTPUT ${ENLAZOR_HELP_FILE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/make_help_project.py
          ${ENLAZOR_HELP_SOURCE_DIR} ${enlazor_help_project} ${ENLAZOR_HELP_NAME}
  COMMAND ${CMAKE_COMMAND} -E chdir ${enlazor_help_project} ${ENLAZOR_CHMCMD} ${ENLAZOR_HELP_NAME}.hhp
  COMMAND ${ENLAZOR_EXTRACT_CHMLIB} ${enlazor_help_project}/${ENLAZOR_HELP_NAME}.chm
          ${enlazor_help_project}/extracted
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/chm_relative_contexts.py
          ${enlazor_help_project}/${ENLAZOR_HELP_NAME}.chm ${enlazor_help_project}
          ${enlazor_help_project}/extracted/\#STRINGS
  COMMAND ${CMAKE_COMMAND} -E copy ${enlazor_help_project}/${ENLAZOR_HELP_NAME}.chm ${ENLAZOR_HELP_FILE}
  DEPENDS ${enlazor_help_sources} ${PROJECT_SOURCE_DIR}/cmake/make_help_project.py
          ${PROJECT_SOURCE_DIR}/cmake/chm_relative_contexts.py
  COMMENT "Compiling the help into ${ENLAZOR_HELP_NAME}.chm"
  VERBATIM)
add_custom_target(enlazor_help ALL DEPENDS ${ENLAZOR_HELP_FILE})
