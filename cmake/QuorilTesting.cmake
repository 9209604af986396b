# quoril_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable whose cases ctest lists one by one.
# Every test gets its own temporary XDG folders, so none touches the real home folder.
include(GoogleTest)

# Test code is compiled for debugging, without optimisation: it builds in about two thirds of the
# time, and the libraries it tests keep the build type's.
set(QUORIL_TEST_COMPILE_OPTIONS -O0 CACHE STRING "Compile options of the test programs, after the build type's")

function(quoril_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock quoril_test_support)
  target_compile_options(${name} PRIVATE ${QUORIL_TEST_COMPILE_OPTIONS})
  set_target_properties(${name} PROPERTIES QUORIL_TEST TRUE)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORIL_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-tmp/runtime"
      TIMEOUT 120)
endfunction()
