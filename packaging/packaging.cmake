# Installation in the usual places, and a Debian package built with CPack.
include(GNUInstallDirs)

install(TARGETS heikosen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/heikosen.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/heikosen.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/hicolor/${size}x${size}/apps/heikosen.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME heikosen)
set(CPACK_PACKAGE_VENDOR "heikosen")
set(CPACK_PACKAGE_CONTACT "heikosen developers <heikosen@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Teaching program: parallel lines and the ratios of the segments they cut")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Drag three parallel lines and two transversals and watch the segments they cut\n keep their ratios; pens, eraser, marker lines, grid and printing for the classroom.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries it links: the window system plugin, the SVG image plugin
# for its icon, Qt's Japanese translations for its dialogs and the two Japanese fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
