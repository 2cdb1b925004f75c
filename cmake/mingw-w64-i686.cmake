# Cross-compiling Tollan for 32-bit Windows (x86) with mingw-w64 (posix thread model).
# On a Windows host the native compiler is used and this file changes nothing.
if(CMAKE_HOST_WIN32)
  return()
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOLLAN_MINGW_PREFIX i686-w64-mingw32)

set(CMAKE_C_COMPILER ${TOLLAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLLAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLLAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLLAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# 32-bit programs cannot run on the build machine: no emulator, no tests.
