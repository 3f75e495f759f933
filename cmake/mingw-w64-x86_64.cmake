# Cross build for 64-bit Windows with Debian's MinGW-w64 (packages g++-mingw-w64-x86-64-posix,
# mingw-w64-x86-64-dev). The "-posix" compilers carry the C++ threads that GoogleTest needs;
# the default "-win32" ones lack std::mutex.
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     [-DZELVO_QT_PREFIX=$(scripts/build-qt-windows.sh | tail -n 1)]
#
# With ZELVO_QT_PREFIX, a Qt 6 cross-built for MinGW (scripts/build-qt-windows.sh), the whole
# program is built; without it, the window is left out and only the libraries without widgets and
# their tests are built. CTest runs the tests through Wine. Qt's own build uses this file too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELVO_MINGW_PREFIX})
# The find calls look below the root paths only, so the cross-built Qt must be one of them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELVO_QT_PREFIX)
if(ZELVO_QT_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${ZELVO_QT_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${ZELVO_QT_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's run-time libraries, so they start under Wine (or on another
# Windows machine) without the MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest starts the test programs through Wine. WINEPREFIX and the other Wine settings come from
# the environment (scripts/test-wine.sh makes a throwaway prefix).
find_program(ZELVO_WINE wine)
if(ZELVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELVO_WINE})
endif()
