# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads); the tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Neither a Wine prefix nor a user's machine has the compiler's runtime DLLs: link them in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian installs the 64-bit loader outside the path when the 32-bit one is absent.
find_program(QUILLO_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QUILLO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLO_WINE})
endif()
