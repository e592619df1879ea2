# The Windows programs' resources, compiled by windres: the icon (drawn by scripts/icone-zelp.py),
# the version, the manifest, and zelpd's event-log messages (compiled by windmc); and the Win32
# window's program zelp.exe.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
string(REGEX REPLACE "windres$" "windmc" ZELP_WINDMC_PADRAO "${CMAKE_RC_COMPILER}")
find_program(ZELP_WINDMC NAMES ${ZELP_WINDMC_PADRAO} x86_64-w64-mingw32-windmc windmc REQUIRED)

set(ZELP_RECURSOS ${CMAKE_CURRENT_BINARY_DIR}/recursos)
file(MAKE_DIRECTORY ${ZELP_RECURSOS})
configure_file(${CMAKE_CURRENT_LIST_DIR}/VersaoZelp.h.in ${ZELP_RECURSOS}/VersaoZelp.h @ONLY)
add_custom_command(OUTPUT ${ZELP_RECURSOS}/zelp.ico
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/icone-zelp.py ${ZELP_RECURSOS}/zelp.ico
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/icone-zelp.py VERBATIM)
add_custom_command(OUTPUT ${ZELP_RECURSOS}/Eventos.rc ${ZELP_RECURSOS}/MSG00409.bin
  COMMAND ${ZELP_WINDMC} -r ${ZELP_RECURSOS} -h ${ZELP_RECURSOS} ${CMAKE_CURRENT_LIST_DIR}/Eventos.mc
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Eventos.mc VERBATIM)

set(comuns ${ZELP_RECURSOS}/zelp.ico ${ZELP_RECURSOS}/VersaoZelp.h ${CMAKE_CURRENT_LIST_DIR}/Versao.rc
    ${CMAKE_CURRENT_LIST_DIR}/programa.manifest ${CMAKE_CURRENT_LIST_DIR}/Recursos.h)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/zelp.rc PROPERTIES OBJECT_DEPENDS "${comuns}")
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/zelpd.rc PROPERTIES
  OBJECT_DEPENDS "${comuns};${ZELP_RECURSOS}/Eventos.rc;${ZELP_RECURSOS}/MSG00409.bin")

if(TARGET zelpd)
  target_sources(zelpd PRIVATE ${CMAKE_CURRENT_LIST_DIR}/zelpd.rc)
  target_include_directories(zelpd PRIVATE ${ZELP_RECURSOS} ${CMAKE_CURRENT_LIST_DIR})
endif()

# A window program: no console opens with it.
add_executable(zelp WIN32 ${CMAKE_CURRENT_LIST_DIR}/zelp.cpp ${CMAKE_CURRENT_LIST_DIR}/Console.cpp
               ${CMAKE_CURRENT_LIST_DIR}/zelp.rc)
target_link_libraries(zelp PRIVATE zelp_ui)
target_include_directories(zelp PRIVATE ${ZELP_RECURSOS} ${CMAKE_CURRENT_LIST_DIR})
