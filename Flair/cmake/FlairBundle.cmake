# flair_bundle_resources(<program> [NO_INSTALL])
# Puts the effects library's resource bundle, Flair_Flair.bundle (the smoke, anvil and poof
# images), into the bundle of `program`, where Flair::moduleBundle() looks first: the
# Resources/ folder of share/<program's file name>/ beside the program's folder, as in
# <build>/share/<program>/Resources/Flair_Flair.bundle for a program built into <build>/bin.
# Installed with the program to ${CMAKE_INSTALL_DATADIR}/<program>/Resources/ unless NO_INSTALL.
#
# The bundle comes from the global properties FLAIR_BUNDLE_DIRECTORY (its folder) and
# FLAIR_BUNDLE_FILES (its files, relative to that folder), which the library's build or its
# installed package sets.
include_guard(GLOBAL)
include(GNUInstallDirs)

function(flair_bundle_resources program)
  cmake_parse_arguments(ARG "NO_INSTALL" "" "" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "flair_bundle_resources(${program}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  get_property(source GLOBAL PROPERTY FLAIR_BUNDLE_DIRECTORY)
  get_property(files GLOBAL PROPERTY FLAIR_BUNDLE_FILES)
  if(NOT source OR NOT files)
    message(FATAL_ERROR "flair_bundle_resources(${program}): the Flair bundle is not known here")
  endif()
  get_target_property(type ${program} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    message(FATAL_ERROR "flair_bundle_resources(${program}): only a program has a bundle of its own")
  endif()
  get_target_property(name ${program} OUTPUT_NAME)
  if(NOT name)
    set(name ${program})
  endif()

  # Where the program is built: its own folder, the project's, or beside its CMakeLists.txt.
  get_target_property(programFolder ${program} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT programFolder)
    set(programFolder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  endif()
  if(NOT programFolder)
    get_target_property(programFolder ${program} BINARY_DIR)
  endif()
  # $<1:folder> (a folder kept free of per-configuration subfolders) is the folder itself.
  string(REGEX REPLACE "^\\$<1:(.*)>$" "\\1" programFolder "${programFolder}")
  if(programFolder MATCHES "\\$<")
    message(FATAL_ERROR "flair_bundle_resources(${program}): cannot tell where ${programFolder} is")
  endif()
  cmake_path(SET folder NORMALIZE "${programFolder}/../share/${name}/Resources/Flair_Flair.bundle")

  set(copies)
  foreach(file IN LISTS files)
    add_custom_command(OUTPUT ${folder}/${file}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source}/${file} ${folder}/${file}
      DEPENDS ${source}/${file}
      COMMENT "Copying Flair_Flair.bundle/${file} into ${name}"
      VERBATIM)
    list(APPEND copies ${folder}/${file})
  endforeach()
  add_custom_target(${program}_flair_bundle DEPENDS ${copies})
  if(TARGET flair_bundle)
    add_dependencies(${program}_flair_bundle flair_bundle) # drawn in this build
  endif()
  add_dependencies(${program} ${program}_flair_bundle)
  if(NOT ARG_NO_INSTALL)
    install(DIRECTORY ${source}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/${name}/Resources/Flair_Flair.bundle)
  endif()
endfunction()
