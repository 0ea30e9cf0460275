# What describes the program outside it, all carrying the one version of project(): the
# software-centre listing (AppStream metainfo) with its releases read from NEWS.md, the manual
# pages and the bash completion. Included by Install.cmake, which has GNUInstallDirs.
set(REELWARDEN_ID io.github.reelwarden.Reelwarden)
set(data_folder ${CMAKE_SOURCE_DIR}/data)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/NEWS.md)

# NEWS.md: "## VERSION (YYYY-MM-DD)" headings, newest first, each followed by "- change" lines
# (an indented line goes on with the change above it). Sets REELWARDEN_RELEASE_DATE to the
# newest date and REELWARDEN_RELEASES to the metainfo's <release> elements.
function(read_news)
  file(READ ${CMAKE_SOURCE_DIR}/NEWS.md text)
  string(ASCII 1 semicolon) # kept out of the way of the list the lines become
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(xml "")
  set(newest "")
  foreach(line IN LISTS lines)
    string(REPLACE "${semicolon}" ";" line "${line}")
    string(REPLACE "&" "&amp;" line "${line}")
    string(REPLACE "<" "&lt;" line "${line}")
    string(REPLACE ">" "&gt;" line "${line}")
    string(REGEX REPLACE "`([^`]*)`" "<code>\\1</code>" line "${line}")
    if(line MATCHES "^## ([0-9.]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
      set(version ${CMAKE_MATCH_1})
      set(date ${CMAKE_MATCH_2})
      if(newest STREQUAL "")
        set(newest ${version})
        set(REELWARDEN_RELEASE_DATE ${date} PARENT_SCOPE)
      else()
        string(APPEND xml "        </ul>\n      </description>\n    </release>\n")
      endif()
      string(APPEND xml "    <release version=\"${version}\" date=\"${date}\">\n"
                        "      <description>\n        <ul>\n")
    elseif(newest STREQUAL "")
      # the introduction above the first release
    elseif(line MATCHES "^- (.+)$")
      string(APPEND xml "          <li>${CMAKE_MATCH_1}</li>\n")
    elseif(line MATCHES "^ +(.+)$")
      string(REGEX REPLACE "</li>\n$" " ${CMAKE_MATCH_1}</li>\n" xml "${xml}")
    elseif(NOT line STREQUAL "")
      message(FATAL_ERROR "NEWS.md: not a release heading or a change: ${line}")
    endif()
  endforeach()
  if(NOT newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "NEWS.md's newest release is '${newest}', the project's version "
                        "${PROJECT_VERSION}: add its release notes")
  endif()
  string(APPEND xml "        </ul>\n      </description>\n    </release>")
  set(REELWARDEN_RELEASES "${xml}" PARENT_SCOPE)
endfunction()
read_news()

set(metainfo ${CMAKE_BINARY_DIR}/${REELWARDEN_ID}.metainfo.xml)
configure_file(${data_folder}/${REELWARDEN_ID}.metainfo.xml.in ${metainfo} @ONLY)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages, with the version and release date; reelwarden-transfer(1) lists the formats
# the built program names in --list-formats.
set(man_folder ${CMAKE_BINARY_DIR}/man)
set(man_pages ${man_folder}/reelwarden.1)
set(list_formats "")
set(program "")
if(TARGET reelwarden-transfer)
  list(APPEND man_pages ${man_folder}/reelwarden-transfer.1)
  set(list_formats $<TARGET_FILE:reelwarden-transfer>)
  set(program reelwarden-transfer)
endif()
add_custom_command(OUTPUT ${man_pages}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/doc -DOUTPUT=${man_folder}
    -DVERSION=${PROJECT_VERSION} -DDATE=${REELWARDEN_RELEASE_DATE}
    "-DLIST_FORMATS=${list_formats}" -P ${CMAKE_CURRENT_LIST_DIR}/MakeManPages.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/doc/reelwarden.1.in ${CMAKE_SOURCE_DIR}/doc/reelwarden-transfer.1.in
    ${CMAKE_CURRENT_LIST_DIR}/MakeManPages.cmake ${program}
  COMMENT "Writing the manual pages")
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Found by bash-completion under this name, in DATADIR of a prefix on the PATH (~/.local for
# ./install.sh, /usr for a package).
if(TARGET reelwarden-transfer)
  install(FILES ${data_folder}/reelwarden-transfer.bash RENAME reelwarden-transfer
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()
