# Cross-compiling for 64-bit Windows with MinGW-w64 (posix threads): the
# build the tests run on every machine, also where 32-bit code cannot run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZARV_ARCH 64)
set(ZARV_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
