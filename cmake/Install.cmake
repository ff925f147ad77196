# Installed layout, PREFIX being /usr for the Debian package:
#   PREFIX/lib/zenitor/           the program and its six data files: it reads them from its own
#                                 folder, and keeps a user's sites in the user's data folder when
#                                 this one cannot be written
#   PREFIX/bin/zenitor            launcher: a relative symbolic link to the program
#   PREFIX/share/applications/    desktop entry (the application menu)
#   PREFIX/share/icons/hicolor/   icon, SVG and 256 x 256 PNG
#   PREFIX/share/metainfo/        AppStream metadata (software centres)
set(ZENITOR_APP_ID org.example.zenitor)
set(ZENITOR_PROGRAM_DIR lib/zenitor)
set(ZENITOR_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS zenitor RUNTIME DESTINATION ${ZENITOR_PROGRAM_DIR})
install(FILES data/messier.txt data/Sac72.txt data/revngc.txt data/revic.txt data/locations.txt
              data/gdstars.txt
        DESTINATION ${ZENITOR_PROGRAM_DIR})

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
file(CREATE_LINK ../${ZENITOR_PROGRAM_DIR}/zenitor ${CMAKE_BINARY_DIR}/launcher/zenitor SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/launcher/zenitor DESTINATION bin)

install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# Debian package: `cpack -G DEB` in the build folder gives zenitor_<version>_<arch>.deb.
# Its dependencies are what the program needs to run: the C and C++ runtime and the Qt libraries
# it links (the versions dpkg-shlibdeps finds for a build on Debian 12), Qt's platform plugins (it
# cannot open a window without them) and the Liberation fonts that stand in for Courier New and
# Arial Narrow in the object rows and the printed chart.
set(CPACK_PACKAGE_NAME zenitor)
set(CPACK_PACKAGE_VENDOR Zenitor)
set(CPACK_PACKAGE_CONTACT "Zenitor <zenitor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "where to point an Alt/Az telescope without computerised pointing")
set(CPACK_PACKAGE_DESCRIPTION
    "Zenitor tells owners of Alt/Az (mostly Dobsonian) telescopes the altitude and azimuth to set \
the scope to for the deep-sky objects they pick (Messier, Herschel 400, Caldwell, Best NGC, SAC, \
NGC and IC), for their site and the running clock or a typed time. It lists bright guide stars \
for setting the indicators and prints a chart of the picked objects over the night.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zenitor.example.org)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(ZENITOR_QT_MIN "(>= ${Qt6_VERSION})")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1, libqt6core6 ${ZENITOR_QT_MIN}, libqt6gui6 ${ZENITOR_QT_MIN}, \
libqt6widgets6 ${ZENITOR_QT_MIN}, libqt6printsupport6 ${ZENITOR_QT_MIN}, qt6-qpa-plugins, \
fonts-liberation")
set(CPACK_GENERATOR DEB)
include(CPack)
