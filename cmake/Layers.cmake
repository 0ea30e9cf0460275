# The program's libraries, lowest layer first. Each may link only libraries listed before it:
# a link that points up stops the configure, so the layers cannot drift.
set(REELWARDEN_LAYERS
    settings catalog_schema store
    transfer transfer_cli access_convert
    pictures ui comments search_query search edit_cycle main_window
    startup)

set(below "")
foreach(library IN LISTS REELWARDEN_LAYERS)
  get_target_property(links ${library} LINK_LIBRARIES)
  get_target_property(interface ${library} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links interface)
    if(link IN_LIST REELWARDEN_LAYERS AND NOT link IN_LIST below)
      message(FATAL_ERROR "${library} links ${link}, which is not in a layer below it")
    endif()
  endforeach()
  list(APPEND below ${library})
endforeach()
