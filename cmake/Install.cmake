# Installed layout, PREFIX being /usr for the Debian package:
#   PREFIX/lib/zenitor/           the program and its six data files: it reads them from its own
#                                 folder, and keeps a user's sites in the user's data folder when
#                                 this one cannot be written
#   PREFIX/bin/zenitor            launcher: a relative symbolic link to the program
#   PREFIX/share/applications/    desktop entry (the application menu)
#   PREFIX/share/icons/hicolor/   icon, SVG and 256 x 256 PNG
#   PREFIX/share/metainfo/        AppStream metadata (software centres)
#   PREFIX/share/man/man1/        manual page zenitor(1), gzipped
#   PREFIX/share/doc/zenitor/     copyright (machine-readable) and changelog.gz
set(ZENITOR_APP_ID org.example.zenitor)
set(ZENITOR_PROGRAM_DIR lib/zenitor)
set(ZENITOR_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

# Directories get 0755 whatever the umask of the build, as Debian requires.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zenitor RUNTIME DESTINATION ${ZENITOR_PROGRAM_DIR})
install(FILES data/messier.txt data/Sac72.txt data/revngc.txt data/revic.txt data/locations.txt
              data/gdstars.txt data/zonenames.txt
        DESTINATION ${ZENITOR_PROGRAM_DIR})

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
file(CREATE_LINK ../${ZENITOR_PROGRAM_DIR}/zenitor ${CMAKE_BINARY_DIR}/launcher/zenitor SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/launcher/zenitor DESTINATION bin)

install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${ZENITOR_PACKAGING}/${ZENITOR_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The manual page and the changelog carry the version by hand; a release that forgets one of them
# stops here rather than shipping a stale version.
file(STRINGS ${ZENITOR_PACKAGING}/changelog ZENITOR_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZENITOR_CHANGELOG_TOP MATCHES "^zenitor \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the first entry is not version ${PROJECT_VERSION}")
endif()
file(STRINGS ${ZENITOR_PACKAGING}/zenitor.1 ZENITOR_MAN_TITLE REGEX "^\\.TH ")
if(NOT ZENITOR_MAN_TITLE MATCHES "\"Zenitor ${PROJECT_VERSION}\"")
    message(FATAL_ERROR "packaging/zenitor.1: the .TH line does not name version ${PROJECT_VERSION}")
endif()

# Both are installed gzipped with -9n (no name or time stamp inside, so the files are reproducible).
# The package's version has no Debian revision (Zenitor packages itself), so its changelog is
# changelog.gz.
set(ZENITOR_DOC_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZENITOR_DOC_DIR})
foreach(doc zenitor.1 changelog)
    add_custom_command(OUTPUT ${ZENITOR_DOC_DIR}/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${ZENITOR_PACKAGING}/${doc} ${ZENITOR_DOC_DIR}/${doc}
        COMMAND gzip -9nf ${ZENITOR_DOC_DIR}/${doc}
        DEPENDS ${ZENITOR_PACKAGING}/${doc}
        VERBATIM)
endforeach()
add_custom_target(zenitor_docs ALL
    DEPENDS ${ZENITOR_DOC_DIR}/zenitor.1.gz ${ZENITOR_DOC_DIR}/changelog.gz)
install(FILES ${ZENITOR_DOC_DIR}/zenitor.1.gz DESTINATION share/man/man1)
install(FILES ${ZENITOR_PACKAGING}/copyright ${ZENITOR_DOC_DIR}/changelog.gz
        DESTINATION share/doc/zenitor)

# Debian package: `cpack -G DEB` in the build folder gives zenitor_<version>_<arch>.deb.
# Its dependencies are what the program needs to run: the C and C++ runtime and the Qt libraries
# it links (the versions dpkg-shlibdeps finds for a build on Debian 12), Qt's platform plugins (it
# cannot open a window without them) and the Liberation fonts that stand in for Courier New and
# Arial Narrow in the object rows and the printed chart, and ERFA (liberfa1) for the positions of
# the Moon and the planets.
set(CPACK_PACKAGE_NAME zenitor)
set(CPACK_PACKAGE_VENDOR Zenitor)
set(CPACK_PACKAGE_CONTACT "Zenitor <zenitor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "where to point an Alt/Az telescope without computerised pointing")
# The long description is wrapped by hand: a control file's description lines must stay under 80
# characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Zenitor tells owners of Alt/Az (mostly Dobsonian) telescopes the altitude
and azimuth to set the scope to for the deep-sky objects (Messier, Herschel
400, Caldwell, Best NGC, SAC, NGC and IC), the Moon and the planets they pick,
for their site and the running clock or a typed time. It lists bright guide stars for setting the
indicators and prints a chart of the picked objects over the night.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zenitor.example.org)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(ZENITOR_QT_MIN "(>= ${Qt6_VERSION})")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1, libqt6core6 ${ZENITOR_QT_MIN}, libqt6gui6 ${ZENITOR_QT_MIN}, \
libqt6widgets6 ${ZENITOR_QT_MIN}, libqt6printsupport6 ${ZENITOR_QT_MIN}, qt6-qpa-plugins, \
fonts-liberation, liberfa1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_GENERATOR DEB)
include(CPack)
