# `cmake --install build --prefix P` lays out an installed program:
#   P/bin/orvane
#   P/share/orvane/          langlink.ini, Syntax/, Fonts/, help pages
#   P/share/applications/orvane.desktop
#   P/share/metainfo/org.orvane.orvane.metainfo.xml   (what software centres list)
#   P/share/icons/hicolor/<n>x<n>/apps/orvane.png and scalable/apps/orvane.svg
#   P/share/man/man1/orvane.1
# The program finds its files in ../share/orvane when they are not beside it
# (src/platform/Appfolders.h). `cpack -G DEB` in the build folder packs the
# same tree for /usr.
include(GNUInstallDirs)

set(ORVANE_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/orvane)

install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Everything in data/ (help pages added later included) but its CMake file;
# the generated bitmap fonts come from the build's Fonts folder.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${ORVANE_DATA_INSTALL_DIR}
        PATTERN CMakeLists.txt EXCLUDE)
install(DIRECTORY ${ORVANE_BIN_DIR}/Fonts/ DESTINATION ${ORVANE_DATA_INSTALL_DIR}/Fonts
        OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.orvane.orvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. The dependencies are the Debian 12 packages the program
# loads at run time: the Qt 6 libraries it links, the platform plugins that
# show a window (X11 and Wayland), the fonts its settings name, and Qt's
# Korean translation.
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Read-only viewer for text, source and binary files (Korean UI)")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvane opens one file at a time and shows it as highlighted text (word wrap, line numbers, selection, Korean bitmap or outline fonts) or as a hex dump paging through files of any size. It never writes the file it shows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) derives the linked libraries with their versions;
# without it they are named here.
set(ORVANE_DEB_RUNTIME
    "qt6-qpa-plugins, fonts-nanum, fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
find_program(ORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ORVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ORVANE_DEB_RUNTIME}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libuchardet0, libpcre2-8-0 (>= 10.42), ${ORVANE_DEB_RUNTIME}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_GENERATOR DEB)
include(CPack)
