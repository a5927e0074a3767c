# `make deb`: a Debian package of what `cmake --install` puts in place.
# Its library dependencies are worked out by dpkg-shlibdeps from the programs
# themselves; what the programs load without linking is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kadrix)
set(CPACK_PACKAGE_VENDOR "The Kadrix team")
set(CPACK_PACKAGE_CONTACT "The Kadrix team <team@kadrix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frames a batch of photographs to one fixed size")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kadrix centres each photograph of a batch on a canvas of one fixed size,\n"
    "filled with a colour of the user's choice, cropping symmetrically where the\n"
    "photograph is larger and never scaling it. Results are BMP or JPEG files\n"
    "named by a rename scheme. The package holds the desktop program and\n"
    "kadrix-batch, the same framing from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KADRIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The forms' substitute faces come from fonts-liberation; TIFF and WebP
# pictures open through Qt's image-format plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
include(CPack)
