# Shared body of the find modules for libraries without a usable CMake package of their own
# (FreeXL ships none; Debian's libzip package names tool binaries that are in other packages, so
# its config fails on machines without them). Sets <package>_FOUND and provides <package>::<package>.
# pkg-config is asked first, since it knows where the distribution put the library; without it
# the usual search paths are tried.
include(FindPackageHandleStandardArgs)

macro(lastora_find_library package pkg_config_name header library)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(PC_${package} QUIET ${pkg_config_name})
  endif()
  find_path(${package}_INCLUDE_DIR NAMES ${header} HINTS ${PC_${package}_INCLUDE_DIRS})
  find_library(${package}_LIBRARY NAMES ${library} HINTS ${PC_${package}_LIBRARY_DIRS})
  set(${package}_VERSION "${PC_${package}_VERSION}")
  find_package_handle_standard_args(${package}
    REQUIRED_VARS ${package}_LIBRARY ${package}_INCLUDE_DIR
    VERSION_VAR ${package}_VERSION)
  mark_as_advanced(${package}_INCLUDE_DIR ${package}_LIBRARY)
  if(${package}_FOUND AND NOT TARGET ${package}::${package})
    add_library(${package}::${package} UNKNOWN IMPORTED)
    set_target_properties(${package}::${package} PROPERTIES
      IMPORTED_LOCATION "${${package}_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${${package}_INCLUDE_DIR}")
  endif()
endmacro()
