# LASTORA_WERROR: compiler warnings fail the build (CI builds). One known exception: GCC 12 at -O3
# (the Release configuration) takes the assignment of a string literal to a std::string, inlined
# from libstdc++, for an overlapping memcpy (-Wrestrict, GCC bug 105329). There the warning is
# still printed but does not fail the build; at -O2 and -O0 (the test builds) and with any other
# compiler it does.
option(LASTORA_WERROR "Treat compiler warnings as errors (CI builds)" OFF)
if(LASTORA_WERROR)
  add_compile_options(-Werror
    "$<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>,$<CONFIG:Release>>:-Wno-error=restrict>")
endif()
