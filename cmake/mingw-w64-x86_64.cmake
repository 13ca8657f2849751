# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX thread model).
# The programs link the C and C++ runtimes statically, so they run without extra
# DLLs, under wine here or on a Windows machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TACHO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TACHO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TACHO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TACHO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TACHO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest (and test discovery) start the .exe files through wine.
find_program(TACHO_WINE64 NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TACHO_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TACHO_WINE64})
endif()
