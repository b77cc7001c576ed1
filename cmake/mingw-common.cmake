# What the two Windows toolchains share; ZARV_ARCH and ZARV_TRIPLET are set
# by the toolchain file that includes this one.
set(CMAKE_C_COMPILER ${ZARV_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZARV_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZARV_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZARV_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run through the one script that picks the Wine loader and
# prefix of this architecture.
get_filename_component(ZARV_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/../scripts ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZARV_SCRIPTS}/wine-run ${ZARV_ARCH})
