# GoogleTest compiled inside this build from its source tree (Debian's package
# googletest installs it under /usr/src/googletest). The cross build for Windows
# uses it: the distribution's prebuilt libraries are for Linux only.
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${TACHO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
