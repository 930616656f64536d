# Installation layout and the Debian package (scripts/package runs cpack).
#
#   /usr/bin                 velmora, velmora-cli, velmora-drive-sim
#   /usr/lib/velmora         the shared libraries and the plug-ins
#   /usr/share/velmora       data/: Velmora.ini defaults, Language/, product data, Image/
#   /usr/share/applications  velmora.desktop; the icon under share/icons/hicolor
#   /usr/share/man/man1      the manual pages
#
# The programs find the libraries through a relative RPATH, so the unpacked
# tree works wherever it lies; AppFolders.h (toolbelt) finds the data from the
# program's place. Version: project() in the top-level CMakeLists.txt.

set(VELMORA_PROGRAMS Velmora velmora-cli velmora-drive-sim)
set(VELMORA_LIBRARIES Toolbelt Wirelay WirelayScope Plotkit)

foreach(program ${VELMORA_PROGRAMS})
    if(TARGET ${program})
        set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${VELMORA_LIB_INSTALL_DIR}")
        install(TARGETS ${program} RUNTIME DESTINATION bin)
    endif()
endforeach()
foreach(library ${VELMORA_LIBRARIES})
    if(TARGET ${library})
        install(TARGETS ${library} LIBRARY DESTINATION ${VELMORA_LIB_INSTALL_DIR})
    endif()
endforeach()
# Commands on Linux are lower case; the build folder keeps "Velmora".
if(TARGET Velmora)
    install(CODE "file(RENAME \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/Velmora\"
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/velmora\")")
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION share/velmora)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmora.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmora.png
        DESTINATION share/icons/hicolor/256x256/apps)

# Manual pages, compressed as Debian installs them.
set(man_pages)
foreach(page velmora velmora-cli velmora-drive-sim)
    set(source ${PROJECT_SOURCE_DIR}/packaging/man/${page}.1)
    set(packed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${packed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND sh -c "gzip -9nc '${source}' > '${packed}'"
        DEPENDS ${source} VERBATIM)
    list(APPEND man_pages ${packed})
endforeach()
add_custom_target(velmora_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "servo drive commissioning and diagnosis tool\n"
    "Velmora connects to one servo drive over a serial line (Modbus RTU), finds\n"
    "it and offers a parameter editor, a status monitor, a four-channel\n"
    "oscilloscope, auto-tuning and an internal-position table editor, in\n"
    "English, Traditional and Simplified Chinese. velmora-cli does the same\n"
    "work from scripts, and velmora-drive-sim simulates a drive on a\n"
    "pseudo-terminal.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
# Dependencies come from the binaries; the libraries of the package itself
# are found in the build folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${VELMORA_APP_DIR})
# The Chinese texts need a CJK font, which no binary links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
include(CPack)
