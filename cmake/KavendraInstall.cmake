# The licence and the changelog beside the installed program, make uninstall, and the Debian
# package (make package). The install rules of the program, its plug-in, its desktop files and
# its manual page sit with them in their folders.

set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog changelog
    COMMAND gzip -9nf changelog
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${changelog}
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Removes what the last install wrote (install_manifest.txt), then the program's own folders
# once they are empty.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake
    VERBATIM)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavendra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kavendra developers")
set(CPACK_PACKAGE_CONTACT "Kavendra developers <developers@kavendra.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KAVENDRA_HOMEPAGE})
# Dependencies come from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no binary links but the program needs at run time: Qt's display plug-ins (only
# recommended by Qt) and the fonts its pictures and fields are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "guitar strum simulator and song editor
Kavendra shows a guitar neck on the screen: press a fret and the note sounds at
once. Set the fingerings of up to four strokes, pick an acoustic, clean or
distorted voice, set the strum speed, the ring and the volume, and hear the
strum.
.
Sounds are kept on numbered sound buttons, so a song is played by pressing
them. A chord book offers 168 fingerings; songs are saved as song scripts
(.kds), which the desktop opens with the program, and can be uploaded to a
song server. A song plays itself, and kavendra-render renders it into a WAV
file from the command line.")
include(CPack)
