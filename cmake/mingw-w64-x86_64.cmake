# Cross build for 64-bit Windows with Debian's mingw-w64, in its posix-thread variant (std::thread and
# std::mutex through winpthreads). cmake --preset windows uses it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELP_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELP_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELP_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELP_MINGW}-windres)

# Headers and libraries come from the mingw tree only; programs (wine, the shell) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZELP_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Executables carry libstdc++, libgcc and winpthreads inside: a till needs no DLL but Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
