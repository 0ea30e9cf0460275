# Installing for everyday use: `cmake --install BUILD --prefix DIR` (./install.sh does this for
# the current user with DIR = ~/.local) places
#   DATADIR/reelwarden/             the program folder: the programs, the catalog movies.mdb
#                                   (an empty one only when none is there) and, once the program
#                                   has run, its settings file TARSEL.INI
#   BINDIR/reelwarden, BINDIR/reelwarden-transfer   links into the program folder
#   DATADIR/applications/io.github.reelwarden.Reelwarden.desktop   the menu entry
#   DATADIR/icons/hicolor/*/apps/reelwarden.*       the icon, six sizes and scalable
#   DATADIR/metainfo/io.github.reelwarden.Reelwarden.metainfo.xml  the software-centre listing
#   MANDIR/man1/reelwarden.1, reelwarden-transfer.1 the manual pages
#   DATADIR/bash-completion/completions/reelwarden-transfer        the bash completion
# with DATADIR, BINDIR and MANDIR the GNUInstallDirs folders (share, bin and share/man below
# DIR). The program folder's installed-files.txt lists every file placed, which uninstalling
# removes: never the catalog or the settings file.
include(GNUInstallDirs)

# The icon's files, drawn at build time from the shapes the program draws its icon with.
set(REELWARDEN_ICON_SIZES 16 32 48 64 128 256)
set(icon_folder ${CMAKE_BINARY_DIR}/icons)
set(icon_files ${icon_folder}/reelwarden.svg)
foreach(size IN LISTS REELWARDEN_ICON_SIZES)
  list(APPEND icon_files ${icon_folder}/reelwarden-${size}.png)
  install(FILES ${icon_folder}/reelwarden-${size}.png RENAME reelwarden.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND make_icons ${icon_folder} ${REELWARDEN_ICON_SIZES}
  DEPENDS make_icons
  COMMENT "Drawing the program icon's files")
add_custom_target(icons ALL DEPENDS ${icon_files})
install(FILES ${icon_folder}/reelwarden.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(linked reelwarden)
if(TARGET reelwarden-transfer)
  list(APPEND linked reelwarden-transfer)
endif()
# Qt and the other libraries are the system's: no run path into the prefix.
set_target_properties(${linked} reelwarden-mdb-reader PROPERTIES INSTALL_RPATH "")
install(TARGETS ${linked} reelwarden-mdb-reader
  RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/reelwarden)

include(${CMAKE_CURRENT_LIST_DIR}/Metadata.cmake)

# The rest depends on the prefix, which is known only at install time.
install(CODE "
  set(REELWARDEN_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(REELWARDEN_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(REELWARDEN_LINKED \"${linked}\")
  set(REELWARDEN_MAKE_CATALOG \"$<TARGET_FILE:make_catalog>\")
  set(REELWARDEN_ID \"${REELWARDEN_ID}\")
  set(REELWARDEN_DESKTOP_ENTRY \"${CMAKE_SOURCE_DIR}/data/${REELWARDEN_ID}.desktop.in\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallProgramFolder.cmake)
