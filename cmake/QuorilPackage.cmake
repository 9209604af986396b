# `make package`: quoril_<version>_<arch>.deb of everything `cmake --install` installs (programs,
# the plug-in bundle, libraries, headers and CMake packages, shared files), installed under /usr,
# with its dependencies read from the binaries by dpkg-shlibdeps (QuorilPackageDepends.cmake).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quoril)
set(CPACK_PACKAGE_VENDOR Quoril)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop goal list, with its dock tile plug-in and libraries")
set(CPACK_PACKAGE_DESCRIPTION
  "Goals in collections, marked in progress or completed, reordered and burned. Also holds the "
  "dock host quoril-dock, and the libraries Prefs, Flair, ViewKit and the Quoril platform with "
  "headers and CMake packages.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quoril developers <developers@quoril.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# What a project building on the installed packages needs besides them (the find_dependency calls).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-base-dev, libfmt-dev, nlohmann-json3-dev")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/QuorilPackageDepends.cmake)
include(CPack)
