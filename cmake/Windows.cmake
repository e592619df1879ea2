# What the Windows build adds: the system's libraries in place of Nettle and libsystemd, printf with
# the C99 rules on every platform, and the test programs run under wine.

# mingw's own printf family (the C99 formats, %zu included) instead of the old msvcrt one; Windows 7
# is the oldest system whose calls the platform layer uses.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 _WIN32_WINNT=0x0601 WINVER=0x0601)

# Winsock and the security and CryptoAPI calls; kernel32 comes by default.
set(ZELP_LIBS_PLATAFORMA ws2_32 advapi32)
set(ZELP_LIBS_DES advapi32)

if(CMAKE_CROSSCOMPILING)
  # Debian puts no wine64 on the PATH; /usr/lib/wine holds it and its wineserver.
  find_program(ZELP_WINE NAMES wine64 wine PATHS /usr/lib/wine)
  find_program(ZELP_WINESERVER NAMES wineserver PATHS /usr/lib/wine)
  if(ZELP_WINE AND ZELP_WINESERVER)
    # Each build folder has a wine prefix of its own, so that tests of two builds never share one.
    set(ZELP_WINEPREFIX ${PROJECT_BINARY_DIR}/wine/prefixo)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/roda-wine.sh.in ${PROJECT_BINARY_DIR}/wine/roda-wine.sh
                   @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE)
    # ctest and gtest_discover_tests run every .exe through it.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine/roda-wine.sh)
  else()
    message(STATUS "wine not found: the Windows programs build, but their tests cannot run here")
  endif()
endif()
