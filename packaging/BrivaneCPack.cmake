# The Debian package: `make deb` (cpack -G DEB in the build folder) installs the build
# under /usr, stripped, and lets dpkg-shlibdeps find the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brivane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brivane developers")
set(CPACK_PACKAGE_CONTACT "Brivane developers <maintainers@brivane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo program for the home")
set(CPACK_PACKAGE_DESCRIPTION
  "Brivane keeps your photos in one collection with thumbnails and descriptions,
gets new ones from files or a scanner, and improves them: crop, red eye,
captions, frames, edges and special effects. It prints photos and labels, makes
albums, calendars and cards, builds slide shows and screen savers that run on
their own, and publishes photos to a photo-sharing service you can host
yourself (brivane-service, included).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brivane.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs start or load at run time, which dpkg-shlibdeps cannot see: Qt's
# platform and picture plugins, the service's FTP upload server (Python), xdg-open for
# web pages, the fonts the captions and pages are laid out with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, qt6-image-formats-plugins, python3, python3-pyftpdlib, xdg-utils, fonts-dejavu-core")
# zenity shows a built show's errors in a window (else xmessage, else only stderr).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "zenity, gnome-keyring")

include(CPack)
