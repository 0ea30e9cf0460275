# Runs at install time, after the programs and icons are in place: the empty catalog where none
# is, the links, the menu entry, and the list of installed files. Paths written into files are
# where the files are used; files are placed below DESTDIR when that is set.
function(full_path folder out)
  if(IS_ABSOLUTE "${folder}")
    set(${out} "${folder}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${folder}" PARENT_SCOPE)
  endif()
endfunction()
full_path("${REELWARDEN_DATADIR}" data)
full_path("${REELWARDEN_BINDIR}" bin)
set(folder "${data}/reelwarden")
set(staged "$ENV{DESTDIR}")

# make_catalog never opens or replaces an existing file; a link to a catalog elsewhere counts as
# one even while its target is away. The catalog is not listed, so uninstalling keeps it.
set(catalog "${staged}${folder}/movies.mdb")
if(EXISTS "${catalog}" OR IS_SYMLINK "${catalog}")
  message(STATUS "Keeping: ${catalog}")
else()
  message(STATUS "Installing: ${catalog} (an empty catalog)")
  execute_process(COMMAND "${REELWARDEN_MAKE_CATALOG}" "${catalog}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Could not make the empty catalog ${catalog}")
  endif()
endif()

# Relative links, so that the installed tree can be moved as a whole.
file(MAKE_DIRECTORY "${staged}${bin}")
foreach(program IN LISTS REELWARDEN_LINKED)
  file(RELATIVE_PATH target "${bin}" "${folder}/${program}")
  message(STATUS "Installing: ${staged}${bin}/${program} -> ${target}")
  file(CREATE_LINK "${target}" "${staged}${bin}/${program}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${staged}${bin}/${program}")
endforeach()

# The menu entry starts the program by its full path: BINDIR need not be on the PATH of the
# desktop session. Exec quoting: \ " ` $ escaped inside the quotes, each backslash doubled
# again as the entry's strings are, and % doubled.
set(exec "${folder}/reelwarden")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\\\${special}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" REELWARDEN_EXEC "${exec}")
set(entry "${staged}${data}/applications/${REELWARDEN_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${REELWARDEN_DESKTOP_ENTRY}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

set(installed "${folder}/installed-files.txt")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${staged}${installed}")
string(LENGTH "${staged}" staged_length)
set(text "")
set(placed "")
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  string(SUBSTRING "${file}" ${staged_length} -1 file)
  string(APPEND text "${file}\n")
  list(APPEND placed "${file}")
endforeach()

# An upgrade removes what the earlier install placed and this one does not (a renamed menu
# entry would otherwise show twice). Only files below the folders installed into are touched,
# never the catalog or the settings file: a tree moved as a whole lists its old places.
if(EXISTS "${staged}${installed}")
  file(STRINGS "${staged}${installed}" earlier)
  foreach(file IN LISTS earlier)
    set(inside FALSE)
    foreach(root "${CMAKE_INSTALL_PREFIX}" "${data}" "${bin}")
      string(FIND "${file}" "${root}/" at)
      if(at EQUAL 0)
        set(inside TRUE)
      endif()
    endforeach()
    list(FIND placed "${file}" still)
    if(inside AND still EQUAL -1 AND NOT file MATCHES "/(movies\\.mdb|TARSEL\\.INI)$"
       AND (EXISTS "${staged}${file}" OR IS_SYMLINK "${staged}${file}"))
      message(STATUS "Removing: ${staged}${file} (placed by the earlier install)")
      file(REMOVE "${staged}${file}")
    endif()
  endforeach()
endif()
message(STATUS "Installing: ${staged}${installed}")
file(WRITE "${staged}${installed}" "${text}")
