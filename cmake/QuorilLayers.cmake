# quoril_add_layer(NAME LINKS ... [DEPENDS ...]): a platform layer as a shared library from the
# .cpp files under src/ (in folders too), with public headers in include/ and the alias
# platform::NAME, installed as libquoril-NAME in the package QuorilPlatform (headers under
# include/quoril/). DEPENDS names the packages its LINKS come from, as quoril_install_library
# takes them. Shared, so a process (the dock host with its plug-ins too) has one main queue, one
# notification centre and one workspace.
function(quoril_add_layer name)
  cmake_parse_arguments(ARG "" "" "LINKS;DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${name} SHARED ${sources})
  add_library(platform::${name} ALIAS ${name})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME quoril-${name})
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  quoril_install_library(TARGET ${name} PACKAGE QuorilPlatform NAMESPACE platform::
    INCLUDE_DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quoril DEPENDS ${ARG_DEPENDS})
endfunction()
