# quoril_install_library(TARGET <library> PACKAGE <Package> [NAMESPACE <ns>::]
#                        [DEPENDS <dependency>...] [HEADERS <folder>] [INCLUDE_DESTINATION <dir>]
#                        [VERSION <version>] [MODULES <file>...])
# Installs a shared library, its public headers and its CMake package, so that a project built
# against the install prefix gets the library from `find_package(<Package> CONFIG REQUIRED)` as
# <ns>::<library>. A line per library:
#
#   quoril_install_library(TARGET Flair PACKAGE Flair DEPENDS QuorilPlatform Prefs)
#
# TARGET     the library target; installed to the library folder with the version in its file
#            name and a run path to its neighbours there.
# PACKAGE    the package: <libdir>/cmake/<Package>/<Package>Config.cmake, a version file
#            (compatible within a major version) and the exported targets. Libraries that name
#            the same package share it (Prefs and PrefsUI in Prefs).
# NAMESPACE  of the exported names, <Package>:: when left out.
# DEPENDS    the packages the library's interface needs, one find_dependency() call each: a name,
#            or a quoted argument list such as "Qt6 COMPONENTS Gui Widgets". Those of all the
#            libraries of a package are joined.
# HEADERS    the folder whose contents are the public headers, include/ beside the calling
#            CMakeLists.txt by default; INCLUDE_DESTINATION is where they go, include/ by default.
# VERSION    the package's version, the project's by default.
# MODULES    CMake files the library installs beside its package's config (functions it offers
#            users, say), which the config includes after the targets.
include_guard(GLOBAL)
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

function(quoril_install_library)
  cmake_parse_arguments(ARG "" "TARGET;PACKAGE;NAMESPACE;HEADERS;INCLUDE_DESTINATION;VERSION" "DEPENDS;MODULES"
                        ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_PACKAGE OR ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "quoril_install_library: TARGET and PACKAGE are required "
                        "(unknown arguments: ${ARG_UNPARSED_ARGUMENTS})")
  endif()
  if(NOT ARG_NAMESPACE)
    set(ARG_NAMESPACE ${ARG_PACKAGE}::)
  endif()
  if(NOT ARG_HEADERS)
    set(ARG_HEADERS ${CMAKE_CURRENT_SOURCE_DIR}/include)
  endif()
  if(NOT ARG_INCLUDE_DESTINATION)
    set(ARG_INCLUDE_DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  endif()
  if(NOT ARG_VERSION)
    set(ARG_VERSION ${PROJECT_VERSION})
  endif()
  string(REGEX MATCH "^[0-9]+" major ${ARG_VERSION})

  # Installed libraries find the others beside them, wherever the prefix is.
  set_target_properties(${ARG_TARGET} PROPERTIES
    VERSION ${ARG_VERSION} SOVERSION ${major} INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${ARG_TARGET} EXPORT ${ARG_PACKAGE}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${ARG_INCLUDE_DESTINATION})
  install(DIRECTORY ${ARG_HEADERS}/ DESTINATION ${ARG_INCLUDE_DESTINATION})

  # The package is written once the whole tree is read, when all its libraries have named
  # their dependencies.
  set(prefix QUORIL_PACKAGE_${ARG_PACKAGE})
  get_property(known GLOBAL PROPERTY ${prefix}_NAMESPACE SET)
  if(known)
    get_property(namespace GLOBAL PROPERTY ${prefix}_NAMESPACE)
    get_property(version GLOBAL PROPERTY ${prefix}_VERSION)
    if(NOT namespace STREQUAL ARG_NAMESPACE OR NOT version STREQUAL ARG_VERSION)
      message(FATAL_ERROR "quoril_install_library(${ARG_TARGET}): the package ${ARG_PACKAGE} is "
                          "${namespace} ${version}, not ${ARG_NAMESPACE} ${ARG_VERSION}")
    endif()
  else()
    set_property(GLOBAL PROPERTY ${prefix}_NAMESPACE ${ARG_NAMESPACE})
    set_property(GLOBAL PROPERTY ${prefix}_VERSION ${ARG_VERSION})
    # A deferred call reads its arguments when it runs: hand over the name, not the variable.
    cmake_language(EVAL CODE
      "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _quoril_install_package [[${ARG_PACKAGE}]])")
  endif()
  set_property(GLOBAL APPEND PROPERTY ${prefix}_DEPENDS ${ARG_DEPENDS})
  set_property(GLOBAL APPEND PROPERTY ${prefix}_MODULES ${ARG_MODULES})
endfunction()

function(_quoril_install_package package)
  set(prefix QUORIL_PACKAGE_${package})
  get_property(namespace GLOBAL PROPERTY ${prefix}_NAMESPACE)
  get_property(version GLOBAL PROPERTY ${prefix}_VERSION)
  get_property(dependencies GLOBAL PROPERTY ${prefix}_DEPENDS)
  list(REMOVE_DUPLICATES dependencies)

  set(folder ${CMAKE_BINARY_DIR}/packages/${package})
  set(config "include(CMakeFindDependencyMacro)\n")
  foreach(dependency IN LISTS dependencies)
    string(APPEND config "find_dependency(${dependency})\n")
  endforeach()
  string(APPEND config "include(\"\${CMAKE_CURRENT_LIST_DIR}/${package}Targets.cmake\")\n")
  get_property(modules GLOBAL PROPERTY ${prefix}_MODULES)
  foreach(module IN LISTS modules)
    string(APPEND config "include(\"\${CMAKE_CURRENT_LIST_DIR}/${module}\")\n")
  endforeach()
  file(CONFIGURE OUTPUT ${folder}/${package}Config.cmake CONTENT "${config}" @ONLY)
  write_basic_package_version_file(${folder}/${package}ConfigVersion.cmake
    VERSION ${version} COMPATIBILITY SameMajorVersion)

  set(destination ${CMAKE_INSTALL_LIBDIR}/cmake/${package})
  install(EXPORT ${package}Targets NAMESPACE ${namespace} DESTINATION ${destination})
  install(FILES ${folder}/${package}Config.cmake ${folder}/${package}ConfigVersion.cmake
    DESTINATION ${destination})
endfunction()
