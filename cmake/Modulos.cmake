# The platform layer's implementation: posix/ on Linux, windows/ when building for Windows.
if(WIN32)
  set(ZELP_PLATAFORMA windows)
else()
  set(ZELP_PLATAFORMA posix)
endif()

# One static library per folder of src/, from every .cpp in it; a folder may hold one subfolder per
# platform (named as ZELP_PLATAFORMA), whose sources join it on that platform only. ZELP_PASTA_<name>
# names another subfolder for a folder whose variants are not the platform's (ui: qt or win32).
function(zelp_modulo nome)
  set(variante ${ZELP_PLATAFORMA})
  if(DEFINED ZELP_PASTA_${nome})
    set(variante ${ZELP_PASTA_${nome}})
  endif()
  file(GLOB fontes CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${nome}/*.cpp
       ${PROJECT_SOURCE_DIR}/src/${nome}/${variante}/*.cpp)
  if(fontes)
    add_library(zelp_${nome} STATIC ${fontes})
    target_include_directories(zelp_${nome} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(zelp_${nome} PUBLIC Threads::Threads ${ARGN})
  else()
    add_library(zelp_${nome} INTERFACE)
    target_include_directories(zelp_${nome} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(zelp_${nome} INTERFACE Threads::Threads ${ARGN})
  endif()
endfunction()

# One test program per folder of tests/, linked with the module of the same name; tests that only
# one platform can run sit in its subfolder (posix/ or windows/) and join the program there.
function(zelp_testes nome)
  file(GLOB fontes CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${nome}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${nome}/${ZELP_PLATAFORMA}/*.cpp)
  if(NOT fontes)
    return()
  endif()
  add_executable(test_${nome} ${fontes})
  target_link_libraries(test_${nome} PRIVATE zelp_teste_apoio ${ARGN} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(test_${nome}
    TEST_PREFIX "${nome}."
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
