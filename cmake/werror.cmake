# LASTORA_WERROR: compiler warnings fail the build (CI builds). One known exception: GCC 12 takes
# the copy inside an inlined std::string insert or assignment for an overlapping memcpy
# (-Wrestrict, GCC bug 105329), at -O2 as well as -O3, in whichever file the inliner happens to
# reach it. With GCC before 13 that one warning is still printed but does not fail the build;
# every other warning does, and with any other compiler -Wrestrict is fatal too.
option(LASTORA_WERROR "Treat compiler warnings as errors (CI builds)" OFF)
if(LASTORA_WERROR)
  add_compile_options(-Werror
    "$<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-error=restrict>")
endif()
