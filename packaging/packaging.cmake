# Installation in the usual places, and a Debian package built with CPack.
include(GNUInstallDirs)

# This release. The version itself is project(VERSION) in CMakeLists.txt; the
# manual page, the changelog and the software-centre entry take it from there.
set(HEIKOSEN_RELEASE_DATE 2026-12-08)
# The project has no public mail address yet. Where a package needs one, it
# gives an address under the reserved name "invalid", which can never reach
# anybody and says so; lintian's complaint about it is overridden with that reason.
set(HEIKOSEN_MAINTAINER_ADDRESS no-public-address@invalid)
set(HEIKOSEN_MAINTAINER "heikosen developers <${HEIKOSEN_MAINTAINER_ADDRESS}>")
# The software-centre id: reverse domain name under the same reserved name.
set(HEIKOSEN_APPSTREAM_ID invalid.heikosen.heikosen)

execute_process(COMMAND date -u -R -d "${HEIKOSEN_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE HEIKOSEN_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# The manual page, the changelog, the software-centre entry and the lintian
# overrides, filled in at configure time; the first two compressed the way
# Debian wants them (best compression, no name or time stamp).
set(_packaging_out ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/heikosen.1.in ${_packaging_out}/heikosen.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${_packaging_out}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/heikosen.metainfo.xml.in
               ${_packaging_out}/${HEIKOSEN_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/lintian-overrides.in
               ${_packaging_out}/lintian-overrides @ONLY)
foreach(_doc heikosen.1 changelog)
    execute_process(COMMAND gzip -9 -n -c ${_packaging_out}/${_doc}
                    OUTPUT_FILE ${_packaging_out}/${_doc}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

install(TARGETS heikosen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Without the compilers' notes of themselves (the .comment section), which
# stripping leaves and the program does not need, as Debian's own packages are.
install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/heikosen\"
    COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/heikosen.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/heikosen.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/hicolor/${size}x${size}/apps/heikosen.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${_packaging_out}/heikosen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${_packaging_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/heikosen)
install(FILES ${_packaging_out}/${HEIKOSEN_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_packaging_out}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME heikosen)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME heikosen)
set(CPACK_PACKAGE_VENDOR "heikosen")
set(CPACK_PACKAGE_CONTACT "${HEIKOSEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Teaching program: parallel lines and the ratios of the segments they cut")
# One line of the extended description each; CPack indents them by one space.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Drag three parallel lines and two transversals with the mouse and watch"
    "the segments they cut keep their ratios: a teaching program for"
    "junior-high-school geometry, with all its captions in Japanese."
    ""
    "For the classroom it adds free-hand pens and an eraser, up to five"
    "straight marker lines, a grid, extension lines, a reset, and printing"
    "of the window with the pupil's name.")
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
