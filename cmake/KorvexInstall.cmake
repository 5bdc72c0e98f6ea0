# Installation: `cmake --install` lays Korvex5 out as a desktop program under any prefix, and
# CPack builds a Debian package from the same rules (./dev package).
#   bin/korvex5, bin/korvex-gen
#   share/korvex5/        the skeleton every user's application folder is made from on the first
#                         start: Examples/, Extra/ (help and its pictures, settings, editor
#                         launcher)
#   lib/korvex5/qz        the runtime template, a program: it becomes Extra/qz of each user's
#                         folder
#   share/doc/korvex5/    copyright, changelog.gz
#   share/applications/, share/metainfo/, share/icons/hicolor/, share/man/man1/
set(KORVEX_APP_ID org.example.korvex5)
set(packaging "${CMAKE_SOURCE_DIR}/packaging")
set(skeleton "${CMAKE_INSTALL_DATADIR}/korvex5")

install(TARGETS korvex-gen RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
if(KORVEX_GUI)
  install(TARGETS korvex5 RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(DIRECTORY "${CMAKE_SOURCE_DIR}/app/" DESTINATION "${skeleton}" USE_SOURCE_PERMISSIONS)
  install(TARGETS qz RUNTIME DESTINATION "${KORVEX_PROGRAMS_DIR}")
  install(FILES "${packaging}/${KORVEX_APP_ID}.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${packaging}/${KORVEX_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  install(FILES "${packaging}/icons/${KORVEX_APP_ID}.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
  # The PNGs are rendered from the SVG and committed (./dev icons renders them again).
  foreach(size 48 128 256)
    install(FILES "${packaging}/icons/${KORVEX_APP_ID}-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${KORVEX_APP_ID}.png")
  endforeach()
endif()

# Manual pages and the changelog are installed compressed, as Debian keeps them.
find_program(KORVEX_GZIP gzip)
set(man_pages korvex-gen.1)
if(KORVEX_GUI)
  list(APPEND man_pages korvex5.1)
endif()
set(compressed)
foreach(file ${man_pages} changelog)
  if(KORVEX_GZIP)
    set(out "${CMAKE_BINARY_DIR}/packaging/${file}.gz")
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/packaging"
      COMMAND "${KORVEX_GZIP}" -9 -n -c "${packaging}/${file}" > "${out}"
      DEPENDS "${packaging}/${file}"
      COMMENT "Compressing ${file}")
    list(APPEND compressed "${out}")
  else()
    set(out "${packaging}/${file}")
  endif()
  if(file STREQUAL "changelog")
    install(FILES "${out}" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/korvex5")
  else()
    install(FILES "${out}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
  endif()
endforeach()
if(compressed)
  add_custom_target(man_pages ALL DEPENDS ${compressed})
endif()
install(FILES "${packaging}/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/korvex5")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex5)
set(CPACK_PACKAGE_VENDOR "The Korvex5 developers")
set(CPACK_PACKAGE_CONTACT "The Korvex5 developers <developers@korvex5.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generate varied texts from scripts of alternatives")
# The extended description; the summary above is the first line of the package's description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvex5 turns a script into a new text every time it runs: blocks of
alternatives in braces stand for the places where the text may vary, and each
generation picks one alternative per block. Scripts can draw random numbers,
jump to other scripts, ask for values and include files.

This package holds the desktop program korvex5, with its editor, examples and
exports, and the command-line generator korvex-gen.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://korvex5.example.org")
# The libraries the programs link, with the versions they need, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The external-editor launcher, Help and the exports' folders open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
