# The Debian package (./dev package): CPack's DEB generator over the install rules.
# Library dependencies come from dpkg-shlibdeps; the ones it cannot see are named here.

# Debian wants the changelog and the manual page compressed with gzip -9n, and the
# copyright file in the package's documentation folder.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(LUMIPAGE_PACKAGE_DOCS ${PROJECT_BINARY_DIR}/packaging)
foreach(source changelog lumipage.1)
    add_custom_command(OUTPUT ${LUMIPAGE_PACKAGE_DOCS}/${source}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMIPAGE_PACKAGE_DOCS}
        COMMAND ${GZIP_PROGRAM} -9n -c ${PROJECT_SOURCE_DIR}/packaging/${source}
                > ${LUMIPAGE_PACKAGE_DOCS}/${source}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source})
    list(APPEND LUMIPAGE_PACKAGE_DOC_FILES ${LUMIPAGE_PACKAGE_DOCS}/${source}.gz)
endforeach()
add_custom_target(package_docs ALL DEPENDS ${LUMIPAGE_PACKAGE_DOC_FILES})

set(LUMIPAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/lumipage)
install(FILES packaging/copyright ${LUMIPAGE_PACKAGE_DOCS}/changelog.gz
        DESTINATION ${LUMIPAGE_DOCDIR})
install(FILES ${LUMIPAGE_PACKAGE_DOCS}/lumipage.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumipage)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Who answers for the package; a builder who publishes it names themselves here.
set(LUMIPAGE_PACKAGE_MAINTAINER "Lumipage maintainers <maintainers@lumipage.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${LUMIPAGE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML page editor with dynamic-HTML effects")
# The summary is the package's one-line synopsis; this text follows it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lumipage edits single HTML pages as they look, with a Japanese user
interface: type and format text, build tables, lists and links, place
images and positioned objects, and insert ready-made dynamic-HTML
effects from small dialogs. A source pane shows the page's HTML beside
it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Japanese text needs a Japanese font; the check panel reads the English Hunspell
# dictionary; the icons are SVG, drawn by Qt's SVG plugins, which the program loads
# without linking them. Qt's dialogs read their Japanese button texts from the
# translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk | fonts-japanese-gothic, hunspell-en-us, libqt6svg6 (>= 6.4)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, breeze-icon-theme, xdg-utils")
include(CPack)
