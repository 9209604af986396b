# Builds the Debian package of BUILD into WORK, extracts it into a root of its own and runs the
cmake_minimum_required(VERSION 3.25)
# extracted quoril-dock there: it must draw its plug-in's tile from that root alone.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${BUILD}/CPackConfig.cmake -B ${WORK}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(package ${WORK}/${FILE})
if(NOT result EQUAL 0 OR NOT EXISTS ${package})
  message(FATAL_ERROR "no ${FILE}:\n${output}")
endif()

# Its dependencies are read from the binaries.
execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE depends RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT depends MATCHES "libqt6widgets6" OR NOT depends MATCHES "libsqlite3")
  message(FATAL_ERROR "the package depends on: ${depends}")
endif()

set(root ${WORK}/root)
execute_process(COMMAND dpkg-deb -x ${package} ${root} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x ${package} failed")
endif()
foreach(file usr/bin/quoril usr/bin/quoril-dock
             usr/lib/quoril/dock-plugins/QuorilDockTilePlugin.docktileplugin/Info.plist
             usr/lib/cmake/Prefs/PrefsConfig.cmake usr/lib/cmake/QuorilPlatform/QuorilPlatformConfigVersion.cmake
             usr/lib/cmake/Flair/FlairConfig.cmake usr/lib/cmake/ViewKit/ViewKitConfig.cmake
             usr/lib/ViewKit_ViewKit.bundle/Resources/MimeTypes.csv
             usr/share/quoril/Resources/Flair_Flair.bundle/Resources/poof1@2x.png
             usr/share/Flair/Flair_Flair.bundle/Info.plist usr/lib/cmake/Flair/FlairBundle.cmake
             usr/include/Prefs/Key.h usr/include/Flair/Move.h usr/include/ViewKit/CsvParser.h
             usr/include/quoril/ui/View.h usr/share/applications/org.quoril.Quoril.desktop
             usr/share/icons/hicolor/256x256/apps/org.quoril.Quoril.png)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()

# The program keeps the effects library, though no screen calls it yet.
execute_process(COMMAND objdump -p ${root}/usr/bin/quoril OUTPUT_VARIABLE headers)
if(NOT headers MATCHES "NEEDED +libFlair\\.so")
  message(FATAL_ERROR "the packaged quoril does not load Flair")
endif()

unset(ENV{LD_LIBRARY_PATH})
set(ENV{XDG_DATA_HOME} ${WORK}/data)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
set(snapshot ${WORK}/tiles.png)
execute_process(COMMAND ${root}/usr/bin/quoril-dock --snapshot ${snapshot}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${snapshot})
  message(FATAL_ERROR "the extracted quoril-dock failed (${result}):\n${output}")
endif()
