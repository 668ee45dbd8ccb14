# Installing the game the way Debian's games are laid out: the program in
# <prefix>/games, its data in <prefix>/share/games/tetherorb2, the desktop
# entry, icons, AppStream metadata, the manual page and the package's
# documentation under <prefix>/share. `make package` turns it into a .deb.
include(GNUInstallDirs)

set(TETHERORB_INSTALL_GAMESDIR "games" CACHE STRING "Folder of the game program under the prefix")
set(TETHERORB_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/games/tetherorb2" CACHE STRING
    "Folder of the game's pictures, sounds, levels and default settings under the prefix")
set(TETHERORB_APP_ID "example.tetherorb2.game" CACHE STRING "AppStream id of the game")
set(TETHERORB_HOMEPAGE "https://tetherorb2.example" CACHE STRING
    "Home page named in the AppStream metadata; it serves screenshot.png (docs/screenshot.png)")

# The installed game finds its data relative to its own executable, so the
# installed tree works under any prefix and can be moved whole.
file(RELATIVE_PATH TETHERORB_DATA_FROM_EXECUTABLE
     "/prefix/${TETHERORB_INSTALL_GAMESDIR}" "/prefix/${TETHERORB_INSTALL_DATADIR}")
file(RELATIVE_PATH TETHERORB_LOCALE_FROM_EXECUTABLE
     "/prefix/${TETHERORB_INSTALL_GAMESDIR}" "/prefix/${CMAKE_INSTALL_LOCALEDIR}")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/paths.cpp PROPERTIES
  COMPILE_DEFINITIONS "TETHERORB_DATA_FROM_EXECUTABLE=\"${TETHERORB_DATA_FROM_EXECUTABLE}\";TETHERORB_LOCALE_FROM_EXECUTABLE=\"${TETHERORB_LOCALE_FROM_EXECUTABLE}\"")

set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PACKAGING_DIR}/tetherorb2.metainfo.xml.in
               ${PACKAGING_OUT}/untranslated.metainfo.xml @ONLY)

# The desktop entry and the metadata with every catalogue's name and summary:
# msgfmt reads the languages from a folder holding LINGUAS and the .po files.
set(PACKAGING_PO ${PACKAGING_OUT}/po)
string(REPLACE ";" "\n" linguas "${TETHERORB_LANGUAGES}")
file(WRITE ${PACKAGING_PO}/LINGUAS "${linguas}\n")
set(TRANSLATED_DESKTOP ${PACKAGING_OUT}/tetherorb2.desktop)
set(TRANSLATED_METAINFO ${PACKAGING_OUT}/${TETHERORB_APP_ID}.metainfo.xml)
add_custom_command(OUTPUT ${TRANSLATED_DESKTOP} ${TRANSLATED_METAINFO}
  COMMAND ${CMAKE_COMMAND} -E copy ${TETHERORB_PO_FILES} ${PACKAGING_PO}
  COMMAND ${MSGFMT} --desktop --template=${PACKAGING_DIR}/tetherorb2.desktop -d ${PACKAGING_PO}
          -o ${TRANSLATED_DESKTOP}
  COMMAND ${MSGFMT} --xml --template=${PACKAGING_OUT}/untranslated.metainfo.xml -d ${PACKAGING_PO}
          -o ${TRANSLATED_METAINFO}
  DEPENDS ${TETHERORB_PO_FILES} ${PACKAGING_DIR}/tetherorb2.desktop ${PACKAGING_OUT}/untranslated.metainfo.xml
  VERBATIM)
add_custom_target(tetherorb2-packaging-texts ALL DEPENDS ${TRANSLATED_DESKTOP} ${TRANSLATED_METAINFO})

# Manual page and changelog go compressed, reproducibly (no name or time stamp).
foreach(doc tetherorb2.6 changelog)
  add_custom_command(OUTPUT ${PACKAGING_OUT}/${doc}.gz
    COMMAND gzip -9nc ${PACKAGING_DIR}/${doc} > ${PACKAGING_OUT}/${doc}.gz
    DEPENDS ${PACKAGING_DIR}/${doc} VERBATIM)
  list(APPEND PACKAGING_GZ ${PACKAGING_OUT}/${doc}.gz)
endforeach()
add_custom_target(tetherorb2-docs ALL DEPENDS ${PACKAGING_GZ})

# Relocations resolved at start and then made read-only, as Debian builds its programs.
target_link_options(tetherorb2 PRIVATE -Wl,-z,relro,-z,now)
install(TARGETS tetherorb2 RUNTIME DESTINATION ${TETHERORB_INSTALL_GAMESDIR})
install(DIRECTORY Media DESTINATION ${TETHERORB_INSTALL_DATADIR})
install(DIRECTORY Levels DESTINATION ${TETHERORB_INSTALL_DATADIR} FILES_MATCHING PATTERN "level*.dat")
install(FILES settings.ini DESTINATION ${TETHERORB_INSTALL_DATADIR})
# The shipped levels' author runs, which set their medals.
install(DIRECTORY tests/solutions/ DESTINATION ${TETHERORB_INSTALL_DATADIR}/solutions FILES_MATCHING PATTERN "level*.replay")
install(FILES ${TRANSLATED_DESKTOP} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(lang ${TETHERORB_LANGUAGES})
  install(FILES ${TETHERORB_LOCALE_DIR}/${lang}/LC_MESSAGES/tetherorb2.mo
          DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES)
endforeach()
foreach(size 64 128 256)
  install(FILES ${PACKAGING_DIR}/icons/tetherorb2-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tetherorb2.png)
endforeach()
install(FILES ${TRANSLATED_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PACKAGING_OUT}/tetherorb2.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PACKAGING_DIR}/copyright ${PACKAGING_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tetherorb2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Tetherorb 2 developers <tetherorb2@tetherorb2.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D action game: swing an orb on its tether")
set(CPACK_PACKAGE_DESCRIPTION "Fire a tether at the blocks, swing the orb around them and reach the finish
before the 30-second clock runs out. Fifteen levels and a built-in level
editor; the player's levels and best scores are kept in the home folder.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GLX library itself at run time, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)

# The level hub, when it is built (further on in CMakeLists.txt): the
# program, its systemd unit and the unit's options, a conffile. So the
# package is made once every target is known.
macro(tetherorb_install_hub)
  if(TARGET tetherorb2-hub)
    target_link_options(tetherorb2-hub PRIVATE -Wl,-z,relro,-z,now)
    install(TARGETS tetherorb2-hub RUNTIME DESTINATION ${TETHERORB_INSTALL_GAMESDIR})
    install(FILES ${PACKAGING_DIR}/tetherorb2-hub.service DESTINATION /lib/systemd/system)
    install(FILES ${PACKAGING_DIR}/tetherorb2-hub.default DESTINATION /etc/default RENAME tetherorb2-hub)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PACKAGING_DIR}/conffiles)
  endif()
endmacro()
cmake_language(DEFER CALL tetherorb_install_hub)
cmake_language(DEFER CALL include CPack)
