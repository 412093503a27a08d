# Installation of the tool and its Debian package:
#   cmake --install <build> [--prefix DIR]   the binary in bin/, the man page in share/man/man1
#   (cd <build> && cpack -G DEB)             lumora-monitor-file-setting_<version>_<arch>.deb
include(GNUInstallDirs)

install(TARGETS LumoraMonitorFileSetting RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/app/LumoraMonitorFileSetting.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME lumora-monitor-file-setting)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "installs monitor files into the profile stores of Lumora and Tessaro Hub")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "LumoraMonitorFileSetting unpacks the monitor files of a package folder, selects the\n"
       "monitor models whose installed profile is missing or older, checks each against the\n"
       "installed product version and installs the compatible ones.")
set(CPACK_PACKAGE_CONTACT "LumoraMonitorFileSetting maintainers <maintainers@example.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS zenity)

# The dependencies are the shared libraries the binary links. dpkg-shlibdeps
# (package dpkg-dev) reads them off the binary; without it they are listed
# here, at the versions of Debian 12.
find_program(LMFS_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LMFS_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12), libxml2 (>= 2.9.14), libminizip1 (>= 1.1), zlib1g (>= 1:1.2.0)")
endif()

include(CPack)
