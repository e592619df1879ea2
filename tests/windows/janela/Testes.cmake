# The window, the service and the installer under wine, driven by the scripts beside this file. They
# share a wine prefix of their own, one test at a time: each starts and ends its wineserver (so that
# the desktop the window needs is made on the window test's virtual display) and the service tests
# register the service zelpd there. sonda-janela.exe looks at the window from another process.
add_executable(sonda-janela ${CMAKE_CURRENT_LIST_DIR}/SondaJanela.cpp)
target_include_directories(sonda-janela PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(sonda-janela PRIVATE user32 shell32)

set(ZELP_SCRIPTS_JANELA ${CMAKE_CURRENT_LIST_DIR})
set(ZELP_BIN ${PROJECT_BINARY_DIR}/bin)
find_program(ZELP_XVFB_RUN xvfb-run)
add_test(NAME windows.janela
  COMMAND ${ZELP_XVFB_RUN} -a -s "-screen 0 1024x768x24" bash ${ZELP_SCRIPTS_JANELA}/janela.sh
          ${CMAKE_CROSSCOMPILING_EMULATOR} ${ZELP_BIN} $<TARGET_FILE:sonda-janela>)
add_test(NAME windows.servico COMMAND bash ${ZELP_SCRIPTS_JANELA}/servico.sh ${CMAKE_CROSSCOMPILING_EMULATOR} ${ZELP_BIN})
set(testes windows.janela windows.servico)
if(TARGET msi)
  add_test(NAME windows.instalador
    COMMAND bash ${ZELP_SCRIPTS_JANELA}/instalador.sh ${CMAKE_CROSSCOMPILING_EMULATOR} ${ZELP_BIN} ${ZELP_MSI}
            ${ZELP_MSI_SEGUINTE})
  list(APPEND testes windows.instalador)
endif()
set_tests_properties(${testes} PROPERTIES
  ENVIRONMENT ZELP_WINEPREFIX=${PROJECT_BINARY_DIR}/wine/prefixo-janela
  RESOURCE_LOCK zelp_prefixo_janela TIMEOUT 300 LABELS lento)
