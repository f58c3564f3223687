# The Debian package (cpack -G DEB, or scripts/package): the viewer, its tools,
# the sample manual and the desktop files, installed under /usr. The libraries
# it needs are read off the programs by dpkg-shlibdeps, never listed by hand.
set(CPACK_PACKAGE_NAME remont)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Remont developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for electronic car-repair manuals")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(REMONT_MAINTAINER "Remont developers <maintainers@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${REMONT_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library scan can see them: the Wayland platform
# (X11 comes with Qt's GUI library) and the desktop's opener of documents.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
# The first line of the package's description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Remont shows electronic car-repair manuals: a table of contents, illustrated
pages with enlargeable pictures, a search through the text of every page, a
glossary, favourites, a history of the pages seen and printing through a
print preview. Every window, look and command comes from the manual itself.

The package holds the viewer, the authors' tools (remont-pack, remont-render,
remont-send) and a sample manual.")

include(CPack)
