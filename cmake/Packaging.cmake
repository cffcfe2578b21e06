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
# Dependencies are the libraries the programs link, as dpkg-shlibdeps finds them. The SVG image
# plugin that draws the toolbar pictures, which Qt loads at run time, comes with libqt6svg6, the
# package of the Qt SVG library the program links: naming it here as well listed it twice.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above becomes the first line; CPack indents these lines and dots the blank one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Wirevane turns a few lines of text into a turning 3D wireframe. Write an
object as a list of points, one x/y/z line each, a blank line, and the
connections between point numbers, pick its colours and an axis marker,
and start the animation. A small navigation bar turns, moves and zooms the
object, and a live table lists every point's coordinates and angles.

Objects are saved as .kfm object files; the turning object can be saved
as a PNG picture, an SVG drawing or an animated GIF. The command-line
companion wirevane-tool compiles, checks, renders, animates and packs
objects without a window: check reports the lines the animation will read
differently from how they look, and animate writes an animated GIF of the
object turning.")

include(CPack)
