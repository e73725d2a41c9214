# Expat for the Windows build, from the sources of Debian's package, so the
# Windows programs read documents with the same parser release as the Linux
# ones. Built static, with its DTD support (internal entities, the limits on
# their expansion) as on Debian, and nothing else of its project.
set(ENLAZOR_EXPAT_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/expat CACHE PATH
    "Expat's unpacked source package (scripts/install-windows-deps.sh)")
if(NOT EXISTS ${ENLAZOR_EXPAT_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "Expat sources not found in ${ENLAZOR_EXPAT_SOURCE_DIR}: "
                      "run scripts/install-windows-deps.sh")
endif()
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_PKGCONFIG OFF CACHE BOOL "" FORCE)
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
set(EXPAT_DTD ON CACHE BOOL "" FORCE)
set(EXPAT_NS ON CACHE BOOL "" FORCE)
enable_language(C)
add_subdirectory(${ENLAZOR_EXPAT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/expat EXCLUDE_FROM_ALL)
add_library(EXPAT::EXPAT ALIAS expat)
# Its own warnings are its maintainers' business, not this build's.
target_compile_options(expat PRIVATE -w)
