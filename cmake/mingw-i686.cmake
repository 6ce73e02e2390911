# The Windows (i386) build, cross-compiled with Debian's MinGW-w64 (g++-mingw-w64-i686):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# gives build-windows/quillet.exe, a static console program that needs no DLL beyond the
# system's.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Single and double precision arithmetic as the field rules state it: SSE2, not the x87's
# extended precision, whose double rounding could change a value read or written.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
