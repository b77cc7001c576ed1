# GoogleTest from Debian's source copy, built with the cross compiler.
set(ZARV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZARV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# zarv_add_test(NAME SOURCES a.cpp b.cpp LIBS x y [TIMEOUT s] [LABELS l] [DISPLAY])
# One console test program, run by ctest through Wine. DISPLAY marks a test
# that shows windows and reads the screen back (label "display"): such tests
# run one at a time, so that no other test's window covers what they look
# at, and scripts/ctest-wine runs them after the others, so that no busy
# neighbour slows the playback they time.
function(zarv_add_test name)
  cmake_parse_arguments(T "DISPLAY" "TIMEOUT;GTEST_FILTER" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(T_GTEST_FILTER)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no --gtest_filter=${T_GTEST_FILTER})
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_DISPLAY)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    list(APPEND T_LABELS display)
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
