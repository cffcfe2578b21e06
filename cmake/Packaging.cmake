# `make package`: a Debian package of everything the install rules put in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wirevane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR travenor)
set(CPACK_PACKAGE_CONTACT "Wirevane developers <wirevane@wirevane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "type in 3D wireframe objects and watch them turn")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://wirevane.org/)
# Dependencies are the libraries the programs link, as dpkg-shlibdeps finds them, and the SVG
# image plugin that draws the toolbar pictures: Qt loads it at run time, so no linker sees it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above becomes the first line; CPack indents these lines and dots the blank one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Wirevane turns a few lines of text into a turning 3D wireframe. Write an
object as a list of points, one x/y/z line each, a blank line, and the
connections between point numbers, pick its colours and an axis marker,
and start the animation. A small navigation bar turns, moves and zooms the
object, and a live table lists every point's coordinates and angles.

Objects are saved as .kfm object files. The command-line companion
wirevane-tool compiles, renders and packs objects without a window.")

include(CPack)
