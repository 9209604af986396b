# Installs the build into PREFIX and runs the installed quoril: it must find share/quoril there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "installing into ${PREFIX} failed")
endif()
foreach(file bin/quoril share/quoril/Info.plist)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${file} was not installed")
  endif()
endforeach()
# The installed run path names the configured prefix, not this one.
set(ENV{LD_LIBRARY_PATH} ${PREFIX}/${LIBDIR})
execute_process(COMMAND ${PREFIX}/bin/quoril RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT output MATCHES "^Quoril ${VERSION} \\(org\\.quoril\\.Quoril\\)")
  message(FATAL_ERROR "the installed quoril said: ${output}${errors}")
endif()
file(REMOVE_RECURSE ${PREFIX})
