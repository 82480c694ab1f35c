# The Windows side of the build (MinGW-w64 cross build, see cmake/toolchains/): the COM server,
# the registration toolbox and their tests, which run under Wine. The POSIX front end, the
# benchmarks and the fuzzers have no place here.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

enable_testing()
foreach(part IN ITEMS src/com src/toolbox)
  if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/../${part}/CMakeLists.txt")
    add_subdirectory("${CMAKE_CURRENT_LIST_DIR}/../${part}" "${CMAKE_BINARY_DIR}/${part}")
  endif()
endforeach()
