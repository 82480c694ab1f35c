# What `cmake --install` and the Debian package put on a machine: the libraries with their headers
# and CMake package, the program (installed by src/cli), its manual page and the bank schemas.
include(CMakePackageConfigHelpers)
set(LASTORA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/lastora)

# Two export sets: a consumer of the shared library needs none of the static library's
# dependencies installed.
install(TARGETS lastora_shared EXPORT lastoraSharedTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS lastora_static EXPORT lastoraStaticTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT lastoraSharedTargets NAMESPACE lastora:: DESTINATION ${LASTORA_CMAKE_DIR})
install(EXPORT lastoraStaticTargets NAMESPACE lastora:: DESTINATION ${LASTORA_CMAKE_DIR})
# The whole folder, so that every public header is installed as soon as it exists.
install(DIRECTORY include/lastora DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")

configure_package_config_file(cmake/lastoraConfig.cmake.in
  "${CMAKE_CURRENT_BINARY_DIR}/lastoraConfig.cmake"
  INSTALL_DESTINATION ${LASTORA_CMAKE_DIR})
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/lastoraConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/lastoraConfig.cmake"
              "${CMAKE_CURRENT_BINARY_DIR}/lastoraConfigVersion.cmake"
              cmake/FindFreeXL.cmake cmake/FindLibZip.cmake cmake/lastoraFindLibrary.cmake
        DESTINATION ${LASTORA_CMAKE_DIR})

install(DIRECTORY tests/data/schemas/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lastora/schemas
        FILES_MATCHING PATTERN "*.xsd")
install(FILES docs/lastora.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(cmake/packaging.cmake)
