# GCC 12 takes the copy inside an inlined std::string insert or assignment for an overlapping
# memcpy (-Wrestrict, GCC bug 105329), at -O2 as well as -O3, in whichever file the inliner
# happens to reach it: dozens of identical false alarms per build that would bury a real warning.
# Before GCC 13 that one warning is off; AddressSanitizer still catches a real overlap at run time.
add_compile_options(
  "$<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>")

# LASTORA_WERROR: compiler warnings fail the build (CI builds).
option(LASTORA_WERROR "Treat compiler warnings as errors (CI builds)" OFF)
if(LASTORA_WERROR)
  add_compile_options(-Werror)
endif()
