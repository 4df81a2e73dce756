# The same cross toolchain with the win32 thread model, for the plug-in DLLs
# only. Its runtime takes no thread library of its own: loading and unloading
# the plug-in leaves no per-thread objects, TLS slots or heap blocks behind in
# the host, which the posix model's winpthread does on every load. The host
# calls the plug-in on one thread and the plug-in starts none, so nothing in
# it needs std::thread or std::mutex.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
