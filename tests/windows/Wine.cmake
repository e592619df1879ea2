# The tests of the Windows build under wine: one wineserver is kept up for the whole run (a CTest
# fixture started first and stopped last), so that each test program starts in a tenth of a second
# instead of most of one; every discovered test requires it.
add_test(NAME wine.servidor COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} servidor)
set_tests_properties(wine.servidor PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine.para COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} para)
set_tests_properties(wine.para PROPERTIES FIXTURES_CLEANUP wine)

# Runs after the discovered tests are defined: each test_<name>_TESTS list holds one program's.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/requer_wine.cmake [=[
get_cmake_property(variaveis VARIABLES)
foreach(variavel IN LISTS variaveis)
  if(variavel MATCHES "^test_.*_TESTS$")
    foreach(teste IN LISTS ${variavel})
      set_tests_properties("${teste}" PROPERTIES FIXTURES_REQUIRED wine)
    endforeach()
  endif()
endforeach()
]=])
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/requer_wine.cmake)

# zelpd.exe end to end, beside the Linux build's zelpd against the same simulator: driven by a test
# program of the Linux build (make test-windows builds it), through this build's wine runner, in the
# shared prefix so that its writer under wine and zelpd.exe see each other's share modes.
set(ZELP_TESTE_WINE_LINUX ${PROJECT_SOURCE_DIR}/build/debug/tests/test_wine CACHE FILEPATH
    "The Linux build's program that drives zelpd.exe under wine (target test_wine of the debug preset)")
add_test(NAME windows.e2e COMMAND ${ZELP_TESTE_WINE_LINUX})
set_tests_properties(windows.e2e PROPERTIES
  ENVIRONMENT "ZELP_RODA_WINE=${CMAKE_CROSSCOMPILING_EMULATOR};ZELP_BIN_WINDOWS=${PROJECT_BINARY_DIR}/bin"
  FIXTURES_REQUIRED wine LABELS lento TIMEOUT 300)
