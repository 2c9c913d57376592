# Installing and packaging the family with CMake's own means: natively,
# `cmake --install` puts the tools in bin, a manual page each in man1, and
# the README with the sample font, the licence and the changelog in the doc
# folder, and cpack makes a .deb of it; for Windows, cpack makes a zip of
# the exes, the README, the licence and the sample.
include(GNUInstallDirs)
# Installing and packaging take what the build made; they don't build it
# again (a package made while the tests run must not rebuild what they use).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(GLYPHROW_SAMPLE
  ${GLYPHROW_ROOT}/examples/sample-font.txt
  ${GLYPHROW_ROOT}/examples/sample-font.bin
  ${GLYPHROW_ROOT}/examples/sample-font.png)

set(CPACK_PACKAGE_NAME glyphrow)
set(CPACK_PACKAGE_VENDOR "glyphrow developers")
set(CPACK_PACKAGE_CONTACT "glyphrow developers <glyphrow@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap fonts drawn in text to font files of row bytes, and back")
# Lines of at most 80 columns, as Debian's description asks.
set(CPACK_PACKAGE_DESCRIPTION [=[
glyphrow turns a bitmap font drawn in a plain text file, one glyph row a
line of six cells, into a font file of one byte per row, for small displays,
retro and embedded systems. glyphdraw draws a font file back as text, with
an exact round trip, or as a PNG glyph sheet; glyphcheck finds the drawing
mistakes that glyphrow passes in silence. glyphdraw also writes BDF, PSF
and C; glyphpick takes a range of glyphs out of a BDF, PSF or PCF font
into any of those forms; glyphshow draws a text in any of those fonts.]=])
set(GLYPHROW_MAN_PAGES glyphrow.1 glyphdraw.1 glyphcheck.1 glyphpick.1 glyphshow.1)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(exes)
  foreach(tool ${GLYPHROW_TOOLS})
    list(APPEND exes ${tool}_exe)
  endforeach()
  # The README links the sample's sheet as examples/sample-font.png.
  install(TARGETS ${exes} RUNTIME DESTINATION .)
  install(FILES ${GLYPHROW_ROOT}/README.md ${GLYPHROW_ROOT}/LICENSE DESTINATION .)
  install(FILES ${GLYPHROW_SAMPLE} DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME glyphrow-${PROJECT_VERSION}-win32)
else()
  install(TARGETS ${GLYPHROW_TOOLS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages and the changelog compressed as Debian has them (gzip -9n:
  # no name or time in the header), at install time, so that installing
  # needs nothing built beyond the tools.
  configure_file(${GLYPHROW_ROOT}/cmake/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
  set(compressed)
  foreach(page ${GLYPHROW_MAN_PAGES})
    install(FILES ${GLYPHROW_ROOT}/man/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND compressed ${CMAKE_INSTALL_MANDIR}/man1/${page})
  endforeach()
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog DESTINATION ${CMAKE_INSTALL_DOCDIR})
  list(APPEND compressed ${CMAKE_INSTALL_DOCDIR}/changelog)
  install(CODE "foreach(file ${compressed})
    execute_process(COMMAND gzip -9nf \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")
  install(FILES ${GLYPHROW_ROOT}/cmake/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${GLYPHROW_ROOT}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${GLYPHROW_SAMPLE} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  set(CPACK_GENERATOR DEB)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends on the C library, as dpkg-shlibdeps finds it
endif()
include(CPack)
