# quoril_add_bundle_resources(target FOLDER <name> INFO_PLIST <file.in> [RESOURCES files...]
#                             [BUILD_DIRECTORY <dir>] [INSTALL_DESTINATION <dir>] [NO_INSTALL])
# Gives `target` its bundle folder: Info.plist configured from INFO_PLIST (@VAR@ only), and
# RESOURCES copied into Resources/. A resource under the Resources/ folder beside INFO_PLIST keeps
# its sub-folder (de.lproj/Localizable.strings stays in de.lproj); any other lands at the top.
#
# Bundle::main() looks for a program's bundle at <program's folder>/../share/<program's name>/,
# so for a program FOLDER must be its file name: the program is built into <build>/bin and the
# bundle into <build>/share/FOLDER, installed to bin/ and ${CMAKE_INSTALL_DATADIR}/FOLDER.
# A library (a plug-in) lives inside its bundle: it is built into the bundle folder, by default
# <build>/share/FOLDER, and installed with it. INSTALL_DESTINATION replaces the installed
# ${CMAKE_INSTALL_DATADIR}/FOLDER.
function(quoril_add_bundle_resources target)
  cmake_parse_arguments(ARG "NO_INSTALL" "FOLDER;INFO_PLIST;BUILD_DIRECTORY;INSTALL_DESTINATION" "RESOURCES" ${ARGN})
  if(NOT ARG_FOLDER OR NOT ARG_INFO_PLIST)
    message(FATAL_ERROR "quoril_add_bundle_resources(${target}): FOLDER and INFO_PLIST are required")
  endif()
  set(folder ${CMAKE_BINARY_DIR}/share/${ARG_FOLDER})
  if(ARG_BUILD_DIRECTORY)
    set(folder ${ARG_BUILD_DIRECTORY})
  endif()
  set(destination ${CMAKE_INSTALL_DATADIR}/${ARG_FOLDER})
  if(ARG_INSTALL_DESTINATION)
    set(destination ${ARG_INSTALL_DESTINATION})
  endif()

  # $<1:...> keeps multi-config generators from adding a per-configuration folder.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
      set(name ${target})
    endif()
    if(NOT name STREQUAL ARG_FOLDER)
      message(FATAL_ERROR "quoril_add_bundle_resources(${target}): a program's bundle FOLDER must be "
                          "its file name '${name}', or Bundle::main() will not find it")
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}/bin>)
  elseif(type STREQUAL "MODULE_LIBRARY" OR type STREQUAL "SHARED_LIBRARY")
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY $<1:${folder}>)
    if(NOT ARG_NO_INSTALL)
      # Installed, it finds the libraries by its own place.
      file(RELATIVE_PATH toLibraries /${destination} /${CMAKE_INSTALL_LIBDIR})
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${toLibraries}")
      install(TARGETS ${target} LIBRARY DESTINATION ${destination})
    endif()
  else()
    message(FATAL_ERROR "quoril_add_bundle_resources(${target}): a ${type} has no bundle")
  endif()

  _quoril_fill_bundle(${target} "${folder}" "${destination}" "${ARG_FOLDER}" "${ARG_INFO_PLIST}" "${ARG_NO_INSTALL}"
                      ${ARG_RESOURCES})
endfunction()

# Info.plist and Resources/ of a bundle folder at `folder`, installed to `destination` unless
# `noInstall`; resources are copied before `target` builds.
function(_quoril_fill_bundle target folder destination name infoPlist noInstall)
  get_filename_component(plist ${infoPlist} ABSOLUTE)
  get_filename_component(sourceRoot ${plist} DIRECTORY)
  set(resourceRoot ${sourceRoot}/Resources)
  configure_file(${plist} ${folder}/Info.plist @ONLY)
  file(MAKE_DIRECTORY ${folder}/Resources)
  if(NOT noInstall)
    install(FILES ${folder}/Info.plist DESTINATION ${destination})
    install(DIRECTORY DESTINATION ${destination}/Resources)
  endif()

  set(copies)
  foreach(resource IN LISTS ARGN)
    get_filename_component(source ${resource} ABSOLUTE)
    file(RELATIVE_PATH relative ${resourceRoot} ${source})
    if(relative MATCHES "^\\.\\./")
      get_filename_component(relative ${source} NAME)
    endif()
    set(copy ${folder}/Resources/${relative})
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
      DEPENDS ${source}
      COMMENT "Copying ${relative} into ${name}"
      VERBATIM)
    list(APPEND copies ${copy})
    if(NOT noInstall)
      get_filename_component(subfolder ${relative} DIRECTORY)
      install(FILES ${source} DESTINATION ${destination}/Resources/${subfolder})
    endif()
  endforeach()
  if(copies)
    add_custom_target(${target}_bundle_resources DEPENDS ${copies})
    add_dependencies(${target} ${target}_bundle_resources)
  endif()
endfunction()

# quoril_add_resource_bundle(target NAME <name> INFO_PLIST <file.in> [RESOURCES files...])
# A library's resource bundle: the folder <name>.bundle beside the library, in <build>/lib and
# in ${CMAKE_INSTALL_LIBDIR}, where foundation::resourceBundleCandidates looks for it. Resources
# are placed as quoril_add_bundle_resources places them.
function(quoril_add_resource_bundle target)
  cmake_parse_arguments(ARG "" "NAME;INFO_PLIST" "RESOURCES" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_INFO_PLIST)
    message(FATAL_ERROR "quoril_add_resource_bundle(${target}): NAME and INFO_PLIST are required")
  endif()
  _quoril_fill_bundle(${target} "${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/${ARG_NAME}.bundle"
                      "${CMAKE_INSTALL_LIBDIR}/${ARG_NAME}.bundle" "${ARG_NAME}.bundle" "${ARG_INFO_PLIST}" FALSE
                      ${ARG_RESOURCES})
endfunction()
