# Run by CPack on the staged package: the .deb's Depends, read by dpkg-shlibdeps from all its ELF
# files at once. (CPack's own reading starts `file` once for each of the hundreds of headers.)
set(root ${CPACK_TEMPORARY_DIRECTORY})
file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/*)
set(binaries)
foreach(file IN LISTS files)
  if(NOT IS_SYMLINK ${file})
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      list(APPEND binaries ${file})
    endif()
  endif()
endforeach()

# dpkg-shlibdeps wants a source package's control file, and a DEBIAN folder to find the
# package's root by when it resolves $ORIGIN; neither may stay in the package.
file(MAKE_DIRECTORY ${root}/debian ${root}/DEBIAN)
file(WRITE ${root}/debian/control "")
execute_process(COMMAND dpkg-shlibdeps --ignore-missing-info -O ${binaries}
  WORKING_DIRECTORY ${root}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE ${root}/debian ${root}/DEBIAN)
if(NOT result EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]*)")
  message(FATAL_ERROR "dpkg-shlibdeps could not read the package's dependencies:\n${errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
