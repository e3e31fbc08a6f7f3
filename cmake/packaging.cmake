# SPDX-License-Identifier: MIT
# Installation and the Debian package (scripts/package runs cpack on the build folder).
# Layout under the prefix: bin/ the two programs; share/doc/orinedit/ the operator's guide with
# its pictures, the copyright and the changelog; share/orinedit/examples/ the sample content;
# the desktop entry, the project file type, the icon in the hicolor theme, the AppStream
# metadata and the manual pages where the desktop and man look for them. The programs find the
# guide and the sample from their own folder (bin/../share/...), so any prefix works.

set(ORIN_DOC_DIR share/doc/orinedit)
set(ORIN_DATA_DIR share/orinedit)

install(TARGETS orinedit orinedit-cli RUNTIME DESTINATION bin)
install(DIRECTORY docs/ DESTINATION ${ORIN_DOC_DIR})
install(FILES packaging/copyright DESTINATION ${ORIN_DOC_DIR})
install(FILES examples/sample.bjpx DESTINATION ${ORIN_DATA_DIR}/examples)
install(DIRECTORY examples/sample./ DESTINATION ${ORIN_DATA_DIR}/examples/sample.)
install(FILES packaging/orinedit.desktop DESTINATION share/applications)
install(FILES packaging/orinedit-bjpx.xml DESTINATION share/mime/packages)
install(FILES packaging/org.orinedit.orinedit.metainfo.xml DESTINATION share/metainfo)
install(FILES packaging/icons/orinedit.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(_size 16 22 24 32 48 64 128 256)
  install(FILES packaging/icons/orinedit-${_size}.png DESTINATION
          share/icons/hicolor/${_size}x${_size}/apps RENAME orinedit.png)
endforeach()

# The manual pages are made from the programs' own --help (help2man, with the sections of
# packaging/*.h2m), so that they list exactly the options and commands of this build.
find_program(ORIN_HELP2MAN help2man)
find_program(ORIN_GZIP gzip)
set(_pkg ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg})
configure_file(packaging/changelog.in ${_pkg}/changelog @ONLY)
if(ORIN_GZIP)
  # -n keeps the time stamp out, so that the package is the same for the same sources.
  add_custom_command(OUTPUT ${_pkg}/changelog.gz
    COMMAND ${ORIN_GZIP} -9 -n -c ${_pkg}/changelog > ${_pkg}/changelog.gz
    DEPENDS ${_pkg}/changelog VERBATIM)
  set(_pkg_outputs ${_pkg}/changelog.gz)
  install(FILES ${_pkg}/changelog.gz DESTINATION ${ORIN_DOC_DIR})
endif()
if(ORIN_HELP2MAN AND ORIN_GZIP)
  foreach(_program orinedit orinedit-cli)
    add_custom_command(OUTPUT ${_pkg}/${_program}.1.gz
      COMMAND ${ORIN_HELP2MAN} --no-info --no-discard-stderr --section=1
              --include=${CMAKE_SOURCE_DIR}/packaging/${_program}.h2m
              --output=${_pkg}/${_program}.1 $<TARGET_FILE:${_program}>
      COMMAND ${ORIN_GZIP} -9 -n -f ${_pkg}/${_program}.1
      DEPENDS ${_program} ${CMAKE_SOURCE_DIR}/packaging/${_program}.h2m VERBATIM)
    list(APPEND _pkg_outputs ${_pkg}/${_program}.1.gz)
    install(FILES ${_pkg}/${_program}.1.gz DESTINATION share/man/man1)
  endforeach()
endif()
add_custom_target(orin_packaging_files ALL DEPENDS ${_pkg_outputs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orinedit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The OrinEdit developers")
set(CPACK_PACKAGE_CONTACT "The OrinEdit developers <packages@orinedit.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://orinedit.org/)
# The libraries the programs link are found by dpkg-shlibdeps; the font is the one the pages
# are laid out with on every machine.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for interactive data-broadcast and signage content")
# CPack puts the summary first and indents these lines; an empty line becomes " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"OrinEdit edits content sets for interactive data broadcasting and signage
screens: numbered full-screen pages with a background picture and up to 256
items each, which show a picture and a text, take the focus of a TV remote
control and carry actions. The editor shows each page as the receiver does,
with a simulated remote control, and has a design surface, a navigation map
and an action trace.

orinedit-cli inspects, converts, checks, renders and simulates content sets
from scripts.")
include(CPack)
