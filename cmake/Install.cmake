# Installation to any prefix, and the Debian package (make package).
include(GNUInstallDirs)

install(TARGETS zerin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zerin-windows)
    install(TARGETS zerin-windows LIBRARY DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/zerin)
endif()

set(ZERIN_DATA_SOURCE ${PROJECT_SOURCE_DIR}/data)
install(FILES ${ZERIN_DATA_SOURCE}/zerin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZERIN_DATA_SOURCE}/org.zerin.Zerin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZERIN_DATA_SOURCE}/icons/zerin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${ZERIN_DATA_SOURCE}/icons/zerin-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zerin.png)
endforeach()
install(FILES ${ZERIN_DATA_SOURCE}/completion/zerin
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(EXISTS ${PROJECT_SOURCE_DIR}/ui/Paper.skn)
    install(FILES ${PROJECT_SOURCE_DIR}/ui/Paper.skn DESTINATION ${CMAKE_INSTALL_DATADIR}/zerin)
endif()
# The coastlines of the crescent's maps (Natural Earth, public domain; see the file's head).
install(FILES ${ZERIN_DATA_SOURCE}/coastlines-110m.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/zerin)
# The gazetteer of the place search (GeoNames, CC BY 4.0; see the file's head).
install(FILES ${ZERIN_DATA_SOURCE}/gazetteer.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/zerin)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/main-window.png)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/main-window.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/zerin/screenshots)
endif()

# The manual page and the Debian documentation files, compressed as Debian wants them.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(ZERIN_GZ_DIR ${PROJECT_BINARY_DIR}/gz)
foreach(pair "docs/zerin.1|zerin.1.gz" "data/debian/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${ZERIN_GZ_DIR}/${target}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${ZERIN_GZ_DIR}
                       COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/${source}
                               > ${ZERIN_GZ_DIR}/${target}
                       DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND ZERIN_GZ_FILES ${ZERIN_GZ_DIR}/${target})
endforeach()
add_custom_target(zerin_docs ALL DEPENDS ${ZERIN_GZ_FILES})
install(FILES ${ZERIN_GZ_DIR}/zerin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZERIN_GZ_DIR}/changelog.gz ${ZERIN_DATA_SOURCE}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zerin)
set(CPACK_PACKAGE_VENDOR "Zerin developers")
set(CPACK_PACKAGE_CONTACT "Zerin developers <dev@zerin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Arabic astronomy calculator that shows every step")
set(CPACK_PACKAGE_DESCRIPTION
    "Zerin computes the Sun with its rising, setting and the Islamic prayer times,\nthe Moon and the eight planets with the classical low-precision theories,\nand writes every step into one report: an Arabic description, the formula\nas text and the value. A command line writes the same reports, prayer\ntimetables and ephemeris tables.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-core, fonts-hosny-amiri, libdate-tz3, libicu72, tzdata, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-kacst, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
