# Precompiled headers. The standard library, fmt, Qt and GoogleTest are parsed once per kind of
# target instead of in every file; they take about half of the compile time of a file that uses
# the view layer. Only headers from outside the project go in, so editing our own headers never
# rebuilds a precompiled header, and none changes what a file means: a build with
# -DQUORIL_PRECOMPILE_HEADERS=OFF compiles the same code without them (and shows a file that
# forgets an include of its own).
#
# Applied once every target is defined, to each library and program of at least
# QUORIL_PRECOMPILE_MIN_SOURCES files: Qt's headers only to those that link Qt Gui, GoogleTest's
# only to tests (quoril_add_test), which share two precompiled headers between them instead of
# building one each. A target opts out with the property QUORIL_NO_PRECOMPILE_HEADERS.
include_guard(GLOBAL)

option(QUORIL_PRECOMPILE_HEADERS "Precompile the standard, fmt, Qt and GoogleTest headers" ON)
set(QUORIL_PRECOMPILE_MIN_SOURCES 5 CACHE STRING "Fewest source files of a target that gets precompiled headers")

# ccache caches a file compiled with a precompiled header only when it may ignore the macros
# around the header and the time macros (no source of ours defines a macro before its includes or
# reads __DATE__ or __TIME__), and may take headers written a moment ago, as the header is.
if(QUORIL_PRECOMPILE_HEADERS AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  set(sloppiness pch_defines,time_macros,include_file_mtime,include_file_ctime)
  if(DEFINED ENV{CCACHE_SLOPPINESS})
    string(PREPEND sloppiness "$ENV{CCACHE_SLOPPINESS},")
  endif()
  set(CMAKE_CXX_COMPILER_LAUNCHER env CCACHE_SLOPPINESS=${sloppiness} ${CMAKE_CXX_COMPILER_LAUNCHER})
  unset(sloppiness)
endif()

set(QUORIL_PCH_STANDARD
  <algorithm> <array> <atomic> <chrono> <cmath> <concepts> <cstddef> <cstdint> <cstring>
  <filesystem> <functional> <map> <memory> <mutex> <optional> <set> <string> <string_view>
  <type_traits> <unordered_map> <utility> <variant> <vector>
  <fmt/format.h>)
# By their module's folder, so a target that reaches Qt Gui only through another library finds them.
set(QUORIL_PCH_QT
  <QtCore/QPointF> <QtCore/QRectF> <QtCore/QSizeF> <QtCore/QString> <QtCore/QLocale>
  <QtGui/QBrush> <QtGui/QColor> <QtGui/QFont> <QtGui/QImage> <QtGui/QPainter>
  <QtGui/QPainterPath> <QtGui/QPen> <QtGui/QTransform> <QtWidgets/QWidget>)
set(QUORIL_PCH_TEST <gtest/gtest.h> <thread>)

# Whether `target` links Qt Gui, directly or through the libraries it links.
function(_quoril_links_qt_gui target out)
  set(pending ${target})
  set(seen)
  while(pending)
    list(POP_FRONT pending name)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" name "${name}")
    string(REGEX REPLACE "::@.*$" "" name "${name}")
    if(name MATCHES "^Qt6?::(Gui|Widgets)$")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(NOT TARGET "${name}" OR name IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${name})
    get_target_property(aliased ${name} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
      continue()
    endif()
    set(properties INTERFACE_LINK_LIBRARIES)
    get_target_property(type ${name} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND properties LINK_LIBRARIES)
    endif()
    foreach(property IN LISTS properties)
      get_target_property(links ${name} ${property})
      if(links)
        list(APPEND pending ${links})
      endif()
    endforeach()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# The targets defined in `dir` and the folders below it.
function(_quoril_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _quoril_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The test target whose precompiled header the tests of one kind share: it has their compile
# options and links what gives them the same definitions and include folders.
function(_quoril_test_pch_owner gui out)
  set(owner quoril_test_pch)
  set(headers ${QUORIL_PCH_STANDARD} ${QUORIL_PCH_TEST})
  if(gui)
    set(owner quoril_test_pch_gui)
    list(APPEND headers ${QUORIL_PCH_QT})
  endif()
  if(NOT TARGET ${owner})
    add_executable(${owner} ${PROJECT_SOURCE_DIR}/cmake/PrecompiledHeaderOwner.cpp)
    target_compile_options(${owner} PRIVATE ${QUORIL_TEST_COMPILE_OPTIONS})
    target_link_libraries(${owner} PRIVATE platform::foundation GTest::gtest)
    if(gui)
      target_link_libraries(${owner} PRIVATE Qt6::Gui)
    endif()
    target_precompile_headers(${owner} PRIVATE ${headers})
  endif()
  set(${out} ${owner} PARENT_SCOPE)
endfunction()

function(_quoril_precompile_all)
  if(NOT QUORIL_PRECOMPILE_HEADERS)
    return()
  endif()
  _quoril_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|STATIC_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    get_target_property(skip ${target} QUORIL_NO_PRECOMPILE_HEADERS)
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    if(skip OR own OR reused)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    # A file with options of its own (-O3) would not match the header's.
    foreach(source IN LISTS sources)
      get_source_file_property(options ${source} TARGET_DIRECTORY ${target} COMPILE_OPTIONS)
      if(options)
        set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
    list(LENGTH sources count)
    if(count LESS QUORIL_PRECOMPILE_MIN_SOURCES)
      continue()
    endif()
    _quoril_links_qt_gui(${target} gui)
    get_target_property(test ${target} QUORIL_TEST)
    if(test)
      _quoril_test_pch_owner("${gui}" owner)
      target_precompile_headers(${target} REUSE_FROM ${owner})
    elseif(gui)
      target_precompile_headers(${target} PRIVATE ${QUORIL_PCH_STANDARD} ${QUORIL_PCH_QT})
    else()
      target_precompile_headers(${target} PRIVATE ${QUORIL_PCH_STANDARD})
    endif()
  endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _quoril_precompile_all)
