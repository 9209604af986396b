# quoril_add_fuzz(NAME SOURCES... LIBS ... CORPUS dir): a libFuzzer target for a parser of
# outside input. Its corpus always runs as a unit test (NAME_corpus), with any compiler; the
# fuzzer itself is built when configured with clang and -DQUORIL_FUZZ=ON.
option(QUORIL_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(QUORIL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUORIL_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(quoril_add_fuzz name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_corpus ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/CorpusMain.cpp)
  target_link_libraries(${name}_corpus PRIVATE ${ARG_LIBS})
  if(QUORIL_BUILD_TESTS)
    add_test(NAME ${name}_corpus COMMAND ${name}_corpus ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-tmp/fuzz-config${QUORIL_SANITIZER_ENVIRONMENT}"
      TIMEOUT 120)
  endif()
  if(QUORIL_FUZZ)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()
