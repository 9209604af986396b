# cmake -DBUILD_DIR=<build folder> -P TestProgramLinks.cmake, run by ctest in a Ninja build.
# A test program is relinked when its own objects or static libraries change, never because a
# shared library it loads at start-up did: a change in one library then rebuilds that library
# and no test program of another.
file(STRINGS ${BUILD_DIR}/build.ninja edges REGEX "^build tests/[^ :]+_tests[ :].*CXX_EXECUTABLE_LINKER__")
list(LENGTH edges count)
if(count LESS 2)
  message(FATAL_ERROR "Found ${count} test programs in ${BUILD_DIR}/build.ninja")
endif()

set(faults)
foreach(edge IN LISTS edges)
  string(REGEX MATCH "^build (tests/[^ :]+)" program "${edge}")
  set(program ${CMAKE_MATCH_1})
  # The inputs that trigger the link: explicit ones, then " | " implicit ones; " || " starts
  # the order-only ones, which only have to exist.
  string(REGEX REPLACE "^.*CXX_EXECUTABLE_LINKER__[^ ]+" "" inputs "${edge}")
  string(FIND "${inputs}" " || " orderOnly)
  if(NOT orderOnly EQUAL -1)
    string(SUBSTRING "${inputs}" 0 ${orderOnly} inputs)
  endif()
  string(REPLACE " " ";" inputs "${inputs}")
  foreach(input IN LISTS inputs)
    if(input MATCHES "\\.so(\\.[0-9.]+)?$" AND NOT IS_ABSOLUTE "${input}")
      list(APPEND faults "${program} relinks when ${input} changes")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" faults)
  message(FATAL_ERROR "${faults}")
endif()
message(STATUS "${count} test programs, none relinked for a change of a shared library")
