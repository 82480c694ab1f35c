# liblastora, shared and static. The sources are compiled once, position-independent and with all
# symbols hidden; both libraries are linked from the same objects. The shared library therefore
# exports what the public headers declare (see include/lastora/export.h) and nothing else.
file(GLOB_RECURSE LASTORA_SOURCES CONFIGURE_DEPENDS
     "${PROJECT_SOURCE_DIR}/src/lastora/*.cc")
list(FILTER LASTORA_SOURCES EXCLUDE REGEX "/platform/win32/")
add_library(lastora_objects OBJECT ${LASTORA_SOURCES})
target_include_directories(lastora_objects
  PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  PRIVATE ${PROJECT_SOURCE_DIR}/src/lastora)
target_compile_options(lastora_objects PRIVATE -Wall -Wextra -Wpedantic)
# The bank schemas the program validates its documents against: installed beside it, or, for a
# program run from its build folder, the copy in the sources.
set_source_files_properties("${PROJECT_SOURCE_DIR}/src/lastora/workbook/schema_check.cc"
  PROPERTIES COMPILE_DEFINITIONS
  "LASTORA_INSTALLED_SCHEMA_DIR=\"${CMAKE_INSTALL_FULL_DATADIR}/lastora/schemas\";LASTORA_SOURCE_SCHEMA_DIR=\"${PROJECT_SOURCE_DIR}/tests/data/schemas\"")
target_link_libraries(lastora_objects PRIVATE ${LASTORA_DEPENDENCIES})
set_target_properties(lastora_objects PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

add_library(lastora_shared SHARED $<TARGET_OBJECTS:lastora_objects>)
add_library(lastora_static STATIC $<TARGET_OBJECTS:lastora_objects>)
foreach(library IN ITEMS lastora_shared lastora_static)
  target_include_directories(${library} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${library} PRIVATE ${LASTORA_DEPENDENCIES})
  set_target_properties(${library} PROPERTIES OUTPUT_NAME lastora)
endforeach()
# A library that needs a symbol nobody provides must fail here, not in a consumer's link. Not with
# the sanitizers, whose runtime only the final program brings.
if(NOT LASTORA_SANITIZE AND NOT LASTORA_BUILD_FUZZ)
  target_link_options(lastora_shared PRIVATE LINKER:--no-undefined)
endif()
set_target_properties(lastora_shared PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})

# Inside this build the tests, benchmarks, fuzzers and the program also reach into the library's
# internals, which only the static library has linkable; installed consumers get the shared one
# by default (see cmake/lastoraConfig.cmake.in).
add_library(lastora::lastora ALIAS lastora_static)
