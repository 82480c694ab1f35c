# What both Windows cross builds share, for the MinGW-w64 target named by LASTORA_MINGW_TARGET. The
# posix thread model is the one whose libstdc++ has std::thread and std::mutex; everything is linked
# statically, so the programs need nothing but the system's own DLLs. Test programs run under Wine
# through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LASTORA_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LASTORA_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${LASTORA_MINGW_TARGET}-windres)
set(LASTORA_WIDL ${LASTORA_MINGW_TARGET}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${LASTORA_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh")
