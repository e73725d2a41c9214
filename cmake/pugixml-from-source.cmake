# pugixml for the Windows build, from the sources of Debian's package, so
# both platforms parse and save the SAGA document with the same release.
set(ENLAZOR_PUGIXML_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/pugixml CACHE PATH
    "pugixml's unpacked source package (scripts/install-windows-deps.sh)")
if(NOT EXISTS ${ENLAZOR_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
  message(FATAL_ERROR "pugixml sources not found in ${ENLAZOR_PUGIXML_SOURCE_DIR}: "
                      "run scripts/install-windows-deps.sh first")
endif()
add_library(pugixml STATIC ${ENLAZOR_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${ENLAZOR_PUGIXML_SOURCE_DIR}/src)
add_library(pugixml::pugixml ALIAS pugixml)
