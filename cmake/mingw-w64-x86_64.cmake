# Cross build for 64-bit Windows with the mingw-w64 posix-thread GCC.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SEVRANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SEVRANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SEVRANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SEVRANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SEVRANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables are Windows programs: CTest runs them through Wine. Without Wine everything
# still builds; only the tests that run Windows programs are left out.
find_program(SEVRANE_WINE NAMES wine wine64)
if(SEVRANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SEVRANE_WINE})
endif()
