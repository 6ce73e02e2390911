# A 64-bit Windows build of the same sources, cross-compiled with Debian's MinGW-w64
# (g++-mingw-w64-x86-64). It is not what ships: CI runs the end-to-end suite on it under wine64
# on a machine whose kernel cannot run 32-bit programs, and so cannot run the i386 build.
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
