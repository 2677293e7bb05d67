# The Debian package: `cpack -G DEB` in a Release build (scripts/package.sh) gives
# vexorel_<version>_<arch>.deb of everything the install rules name.

set(CPACK_PACKAGE_NAME vexorel)
set(CPACK_PACKAGE_VENDOR "Vexorel team")
set(CPACK_PACKAGE_CONTACT "Vexorel team <team@vexorel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "download and chart the muzzle velocities of a chronograph")
# Wrapped by hand within 80 columns: package tools show its lines as they are.
set(CPACK_PACKAGE_DESCRIPTION [[
Vexorel! is for shooters who measure muzzle velocities with a Chronolite
ballistic chronograph. It downloads the shots over a serial line and keeps
them in a table with the bullet, its weight, the muzzle energy and each
shot's deviation from the mean, shows their statistics and charts, saves
sessions as measurement files and keeps a bullet list.

The package also holds chronolite-sim, a simulated chronograph on a
pseudo-terminal for trying a download without one.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries. Without a platform plugin (the X11 one is in
# qt6-qpa-plugins) Qt cannot open a window, and libqt6gui6 only recommends it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# The fonts the windows name (Arial, Times New Roman) are metric-compatible in these.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
