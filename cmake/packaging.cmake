# `make deb`: a Debian package of what `cmake --install` puts in place.
# Its library dependencies are worked out by dpkg-shlibdeps from the programs
# themselves; what the programs load without linking is named here. Its
# version is the project's, with the Debian revision below.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kadrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kadrix team")
set(CPACK_PACKAGE_CONTACT "The Kadrix team <team@kadrix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frames a batch of photographs to one fixed size")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kadrix centres each photograph of a batch on a canvas of one fixed size,\n"
    "filled with a colour of the user's choice, cropping symmetrically where the\n"
    "photograph is larger and never scaling it. It reads JPEG, PNG, BMP, TIFF,\n"
    "WebP, HEIC and AVIF pictures and writes BMP, JPEG, PNG, TIFF or WebP\n"
    "results named by a rename scheme (TIFF and WebP through Qt's image format\n"
    "plugins, which the package recommends).\n"
    "\n"
    "The package holds the desktop program and kadrix-batch, the same framing\n"
    "from the command line, with its completion for bash and zsh.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KADRIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The forms' substitute faces come from fonts-liberation. Debian's Qt GUI
# library only recommends its package of platform plugins; it is named here so
# that an install without recommended packages has all of them (on Debian 12
# the X11 plugin itself ships with the GUI library). TIFF and WebP pictures go
# through Qt's image-format plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")

# What Debian's policy wants beyond the installed files (the copyright file,
# the changelog, compressed manual pages) is added to the staged files by
# deb_staging.cmake; the changelog's entry carries this version and the
# release date.
set(KADRIX_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_KADRIX_DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)
configure_file(packaging/changelog.Debian.in ${CPACK_KADRIX_DEBIAN_DIR}/changelog.Debian @ONLY)
configure_file(packaging/copyright ${CPACK_KADRIX_DEBIAN_DIR}/copyright COPYONLY)
configure_file(packaging/lintian-overrides ${CPACK_KADRIX_DEBIAN_DIR}/lintian-overrides COPYONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_staging.cmake)
include(CPack)
