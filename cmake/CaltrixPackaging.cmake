# A Debian package of the program, the panel library and the shipped data.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME caltrix)
set(CPACK_PACKAGE_VENDOR "Caltrix")
set(CPACK_PACKAGE_CONTACT "Caltrix <support@caltrix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Unattended full-screen display of live football results")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Library dependencies come from dpkg-shlibdeps; the web engine's helper
# process and the stand-in fonts are not libraries, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, fonts-dejavu-core, fonts-liberation")
# Qt's Wayland platform: without it the display runs through Xwayland in a Wayland session.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
set(CPACK_STRIP_FILES ON)
# Only what runs: the panel's development header (component "devel") stays out.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)
