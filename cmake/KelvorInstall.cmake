# The install rules that need more than install(TARGETS/FILES): the commands
# in bin, the menu entry with the game folder's path, and the list of what
# an install put under its prefix, which bin/kelvor-uninstall reads.
#
# The steps run at install time, in the order they are declared here and in
# the subdirectories (policy CMP0082), from KelvorInstallStep.cmake; they
# share the install script's variables.
set(KELVOR_INSTALL_STEP ${CMAKE_CURRENT_LIST_DIR}/KelvorInstallStep.cmake)

# First of all install rules: notes which of the install's folders are not
# there yet, so that the uninstaller removes those and only those.
function(kelvor_install_begin)
    set(folders bin share/applications share/metainfo share/kelvor
                ${KELVOR_GAME_DIR}/GFX ${KELVOR_GAME_DIR}/Skins ${KELVOR_GAME_DIR}/LNG)
    foreach(size ${KELVOR_ICON_SIZES})
        list(APPEND folders share/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(CODE "set(KELVOR_STEP begin)
                  set(KELVOR_FOLDERS \"${folders}\")
                  include(\"${KELVOR_INSTALL_STEP}\")")
endfunction()

# PREFIX/bin/<name>: a relative link to the program in the game folder, which
# finds its data beside itself.
function(kelvor_install_command name)
    install(CODE "set(KELVOR_STEP link)
                  set(KELVOR_LINK_NAME \"${name}\")
                  set(KELVOR_LINK_TARGET \"../${KELVOR_GAME_DIR}/${name}\")
                  include(\"${KELVOR_INSTALL_STEP}\")")
endfunction()

# The menu entry, whose Exec and Path name the game folder under the prefix
# given to `cmake --install`; the AppStream metainfo; the uninstaller.
function(kelvor_install_desktop_files)
    set(desktop ${CMAKE_BINARY_DIR}/install/${KELVOR_APP_ID}.desktop)
    install(CODE "set(KELVOR_GAME_FOLDER \"\${CMAKE_INSTALL_PREFIX}/${KELVOR_GAME_DIR}\")
                  configure_file(\"${PROJECT_SOURCE_DIR}/resources/desktop/kelvor.desktop.in\"
                                 \"${desktop}\" @ONLY)")
    install(FILES ${desktop} DESTINATION share/applications)
    set(metainfo ${CMAKE_BINARY_DIR}/install/${KELVOR_APP_ID}.metainfo.xml)
    configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/kelvor.metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${metainfo} DESTINATION share/metainfo)
    install(PROGRAMS ${PROJECT_SOURCE_DIR}/resources/desktop/kelvor-uninstall DESTINATION bin)
endfunction()

# Last of all install rules: PREFIX/share/kelvor/install_manifest.txt, the
# files (itself among them) and, ending in "/", the folders this install
# made, all relative to the prefix.
function(kelvor_install_end)
    install(CODE "set(KELVOR_STEP end)
                  include(\"${KELVOR_INSTALL_STEP}\")")
endfunction()
