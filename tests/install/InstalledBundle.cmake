# Runs the quoril installed into PREFIX: it finds its libraries and share/quoril there, though
cmake_minimum_required(VERSION 3.25)
# it was configured for another prefix.
foreach(file bin/quoril share/quoril/Info.plist)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${file} was not installed")
  endif()
endforeach()
unset(ENV{LD_LIBRARY_PATH})
execute_process(COMMAND ${PREFIX}/bin/quoril RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT output MATCHES "^Quoril ${VERSION} \\(org\\.quoril\\.Quoril\\)")
  message(FATAL_ERROR "the installed quoril said: ${output}${errors}")
endif()
