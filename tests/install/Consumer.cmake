# Configures tests/consumer against the packages installed in PREFIX alone, builds it with the
cmake_minimum_required(VERSION 3.25)
# compiler and flags of the build, checks that none of the source tree is on its include path,
# and runs it to WORK/consumer.png.
file(REMOVE_RECURSE ${WORK})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE}/tests/consumer -B ${WORK} -G ${GENERATOR}
          -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_CXX_COMPILER=${COMPILER}
          -DCMAKE_CXX_FLAGS=${FLAGS} -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
          -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the consumer failed:\n${output}")
endif()

# Include folders may lie in the prefix or outside the tree, never in its sources.
file(READ ${WORK}/compile_commands.json commands)
string(REGEX MATCHALL "(-I|-isystem )[^ \"]+" includes "${commands}")
foreach(include IN LISTS includes)
  string(REGEX REPLACE "^(-I|-isystem )" "" folder "${include}")
  cmake_path(IS_PREFIX PREFIX "${folder}" NORMALIZE inPrefix)
  cmake_path(IS_PREFIX SOURCE "${folder}" NORMALIZE inTree)
  if(inTree AND NOT inPrefix)
    message(FATAL_ERROR "the consumer includes from the source tree: ${folder}")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK} --parallel
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the consumer failed:\n${output}")
endif()

unset(ENV{LD_LIBRARY_PATH})
execute_process(COMMAND ${WORK}/bin/consumer ${PREFIX} ${WORK}/consumer.png
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/consumer.png)
  message(FATAL_ERROR "the consumer failed (${result}):\n${output}")
endif()
