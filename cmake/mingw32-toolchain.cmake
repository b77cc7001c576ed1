# Cross-compiling for 32-bit Windows with MinGW-w64 (posix threads): the
# deliverable. Its programs run under Wine's 32-bit loader where this
# machine can execute 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZARV_ARCH 32)
set(ZARV_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
