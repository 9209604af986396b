# quoril_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable whose cases ctest lists one by one.
# Every test gets its own temporary XDG folders, so none touches the real home folder.
include(GoogleTest)

function(quoril_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock quoril_test_support)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORIL_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-tmp/runtime"
      TIMEOUT 120)
endfunction()
