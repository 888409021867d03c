# Installing Zestro (cmake --install) and its Debian package (cpack -G DEB in the build folder).
# Tests, the benchmark and the fuzz programs are never installed.

set(ZESTRO_APP_ID io.github.zestro.Zestro)
# Honours SOURCE_DATE_EPOCH, so a package built again from the same source is the same.
string(TIMESTAMP ZESTRO_RELEASE_DATE "%Y-%m-%d" UTC)
set(ZESTRO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zestro)
set(ZESTRO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zestro)

install(TARGETS zestro zestro-build-library RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/zestro-starter.mdb ${ZESTRO_SIDE_FILES} DESTINATION ${ZESTRO_DATA_DIR})

install(FILES packaging/${ZESTRO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(packaging/${ZESTRO_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/${ZESTRO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${ZESTRO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 22 24 32 48 64 128 256 512)
  if(size EQUAL 256)
    set(icon resources/icons/zestro.png)
  else()
    set(icon resources/icons/zestro-${size}.png)
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ZESTRO_APP_ID}.png)
endforeach()
install(FILES resources/icons/zestro.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ZESTRO_APP_ID}.svg)

install(FILES LICENSE packaging/copyright DESTINATION ${ZESTRO_DOC_DIR})

# Manual pages and the package's change log go in gzipped, as Debian keeps them; gzip -n leaves
# out the name and time stamp, so the files do not change from one configure to the next.
string(TIMESTAMP ZESTRO_RELEASE_DATE_RFC2822 "%a, %d %b %Y 00:00:00 +0000" UTC)
find_program(ZESTRO_GZIP gzip REQUIRED)
function(zestro_gzip source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND ${ZESTRO_GZIP} -9nc ${source} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
foreach(page zestro zestro-build-library)
  zestro_gzip(${CMAKE_SOURCE_DIR}/packaging/${page}.1 ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_PACKAGE_NAME zestro)
set(CPACK_PACKAGE_VENDOR "The Zestro developers")
set(CPACK_PACKAGE_CONTACT "The Zestro developers <dravo@zestro.example.org>")
# No Homepage field: the project has no web page that resolves yet.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drink recipe library for the desktop")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) names the Qt and SQLCipher libraries the program links; the platform
# plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Zestro keeps a library of mixed drinks in one encrypted SQLCipher file: each
drink with its ingredient lines, directions and comments. Browse it, search it
by name, ingredients, directions, comments and marks, match it against the
bottles in your bar, add and edit drinks, mark, print and copy them.
.
It comes with a starter library of classic drinks; each user works on a copy
of it in ~/.local/share/Zestro.")
configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
zestro_gzip(${CMAKE_BINARY_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${ZESTRO_DOC_DIR})
include(CPack)
