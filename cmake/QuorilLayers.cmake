# quoril_add_layer(NAME LINKS ...): a platform layer as a shared library from the .cpp files
# under src/ (in folders too), with public headers in include/ and the alias platform::NAME.
# Shared, so a process (the dock host with its plug-ins too) has one main queue, one
# notification centre and one workspace.
function(quoril_add_layer name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${name} SHARED ${sources})
  add_library(platform::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  install(TARGETS ${name} EXPORT QuorilPlatform LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endfunction()
