# Unity builds for the libraries: their files are compiled a few at a time in one unit, so the
# headers that nearly every file of a library includes (the view layer's, Qt's) are parsed once
# per unit instead of once per file. That takes a library's compile time to about a quarter.
# Test programs and tools stay one unit per file: their files share local helper names.
#
# Files of one unit share their file-local names. A file whose local names clash with those of
# another file of its library (the compiler says "redefinition of ... {anonymous}::...") goes in
# QUORIL_UNITY_SEPARATE below, or its helper gets a name of its own.
# -DQUORIL_UNITY_BUILD=OFF compiles every file on its own.
include_guard(GLOBAL)

option(QUORIL_UNITY_BUILD "Compile the libraries' files several at a time" ON)
set(QUORIL_UNITY_BATCH_SIZE 8 CACHE STRING "Files of a library compiled in one unit")

# Compiled on their own, relative to the source folder.
set(QUORIL_UNITY_SEPARATE
  platform/foundation/src/KeyedUnarchiver.cpp
  platform/foundation/src/UndoManager.cpp)

function(_quoril_unity_all)
  if(NOT QUORIL_UNITY_BUILD)
    return()
  endif()
  _quoril_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(test ${target} QUORIL_TEST)
    if(NOT type MATCHES "^(SHARED|STATIC|MODULE)_LIBRARY$" OR test)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS 2)
      continue()
    endif()
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${QUORIL_UNITY_BATCH_SIZE})
    get_target_property(folder ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE absolute)
      cmake_path(RELATIVE_PATH absolute BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE relative)
      if(relative IN_LIST QUORIL_UNITY_SEPARATE)
        set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    endforeach()
  endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _quoril_unity_all)
