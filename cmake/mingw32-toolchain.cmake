# Cross-compiling for 32-bit Windows with MinGW-w64 (posix threads): the
# deliverable. Its programs run under Wine's 32-bit loader where this
# machine can execute 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZARV_ARCH 32)
set(ZARV_TRIPLET i686-w64-mingw32)
# Floating point in SSE2 registers, as on x86-64, instead of the x87 unit,
# whose 80-bit intermediates round differently: the 32-bit build then
# computes what the 64-bit one does (the pixel a track is cut at, a blended
# colour). Every processor that runs the Windows versions the program
# supports has SSE2. The top CMakeLists applies these to every target, so
# that a build folder configured before them gets them too.
set(ZARV_ARCH_COMPILE_OPTIONS -msse2 -mfpmath=sse)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
