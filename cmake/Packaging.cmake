# The Debian package: `cpack -G DEB` in the build folder makes tallowin_<version>_<arch>.deb,
# everything installed under /usr, its library dependencies read from the binary.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallowin)
set(CPACK_PACKAGE_VENDOR "Tallowin developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The long description, wrapped as Debian tools show it.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tallowin watches the clipboard. When it holds a picture, such as a screen"
  "grab, Tallowin writes it into a chosen folder as a JPEG or bitmap file named"
  "from a prefix and a three-digit number, shows a preview, advances the number"
  "and empties the clipboard, so the same grab is never saved twice.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TALLOWIN_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories in the package are 0755 whatever the umask of the person building it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TALLOWIN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A native Wayland window, where only WAYLAND_DISPLAY is set, needs the toolkit's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The menu and icon caches are refreshed by the dpkg triggers of desktop-file-utils and the
# icon theme; the package needs no maintainer scripts of its own.

include(CPack)
