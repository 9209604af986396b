# quoril_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable whose cases ctest lists one by one.
# Every test gets its own temporary XDG folders, so none touches the real home folder.
include(GoogleTest)

# Test code is compiled for debugging, without optimisation: it builds in about two thirds of the
# time, and the libraries it tests keep the build type's.
set(QUORIL_TEST_COMPILE_OPTIONS -O0 CACHE STRING "Compile options of the test programs, after the build type's")

# Leaks inside system libraries, which no change of ours mends, are named to LeakSanitizer in
# every test's environment: QUORIL_SANITIZER_ENVIRONMENT, empty or ";VARIABLE=value" to append.
set(QUORIL_SANITIZER_ENVIRONMENT "")
if(QUORIL_SANITIZE MATCHES "address|leak")
  set(QUORIL_SANITIZER_ENVIRONMENT
    ";LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan-suppressions.txt:print_suppressions=0")
endif()
# A report of undefined behaviour fails its test; by default the sanitizer prints it and goes on.
if(QUORIL_SANITIZE MATCHES "undefined")
  string(APPEND QUORIL_SANITIZER_ENVIRONMENT ";UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
endif()

function(quoril_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock quoril_test_support)
  target_compile_options(${name} PRIVATE ${QUORIL_TEST_COMPILE_OPTIONS})
  set_target_properties(${name} PROPERTIES QUORIL_TEST TRUE)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS)
  # The discovered tests get their properties from a script of ours, read after the list: given
  # to gtest_discover_tests, a list value (the environment) would be cut into separate values.
  set(environment "QT_QPA_PLATFORM=offscreen;QUORIL_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-tmp/runtime${QUORIL_SANITIZER_ENVIRONMENT}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(CONFIGURE OUTPUT ${script} CONTENT [[
if(@name@_TESTS)
  set_tests_properties(${@name@_TESTS} PROPERTIES ENVIRONMENT "@environment@" TIMEOUT 120)
endif()
]] @ONLY)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
