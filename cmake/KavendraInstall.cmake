# The licence and the changelog beside the installed program, and make uninstall. The install
# rules of the program, its plug-in, its desktop files and its manual page sit with them in
# their folders.

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
