# GoogleTest built with the cross compiler from Debian's sources (package googletest): Debian has
# no GoogleTest for mingw. Its own build defines the GTest:: targets that find_package gives natively.
set(ZELP_FONTES_GTEST /usr/src/googletest CACHE PATH "GoogleTest's sources, for a cross build")
if(NOT EXISTS ${ZELP_FONTES_GTEST}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${ZELP_FONTES_GTEST}: install the googletest package")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# Windows' own threads and locks inside GoogleTest, not winpthreads.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)

# Our warnings (and -Werror) are for our own code, not for GoogleTest's.
get_directory_property(zelp_opcoes COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${ZELP_FONTES_GTEST} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${zelp_opcoes}")
