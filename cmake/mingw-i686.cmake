# Cross toolchain for 32-bit Windows: the test programs, the host simulator and
# the tools. The -posix compilers bring the thread support GoogleTest and the
# host side need; the plug-in DLLs themselves are built in a sub-build with
# mingw-i686-win32-threads.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run through Wine from CTest.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
# The plug-in DLLs come from a sub-build with the win32 thread model (cmake/Windows.cmake).
set(VELMORA_PLUGIN_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-i686-win32-threads.cmake)
