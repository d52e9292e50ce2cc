# Run by CPack between staging the files and building the package. Adds what Debian
# policy asks of every package beyond the install rules: gzipped manual pages, and
# /usr/share/doc/<package> with the copyright and a changelog. The changelog is made
# from the metainfo's release entries, so the release notes live in one place. gzip -n
# leaves out name and time, as Debian's own tools do.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB pages "${root}/share/man/man*/*.[1-9]")
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(COPY_FILE "${CPACK_FRETLORE_COPYRIGHT}" "${doc}/copyright")

# appstreamcli writes each release as "Version V", a rule, "Released: YYYY-MM-DD", a
# blank line and the notes; a Debian changelog entry wraps the notes in a header line
# and a trailer with maintainer and date.
set(news "${CPACK_TOPLEVEL_DIRECTORY}/news.txt")
execute_process(COMMAND appstreamcli metainfo-to-news --format text
                        "${CPACK_FRETLORE_METAINFO}" "${news}"
                COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS "${news}" lines)
set(changelog "")
set(version "")
function(close_entry)
  if(version)
    execute_process(COMMAND date -u -R -d "${date}" OUTPUT_VARIABLE stamp
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog
      "${CPACK_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n${notes}\n"
      " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${stamp}\n\n")
    set(changelog "${changelog}" PARENT_SCOPE)
  endif()
endfunction()
foreach(line IN LISTS lines)
  if(line MATCHES "^Version (.+)$")
    close_entry()
    set(version "${CMAKE_MATCH_1}")
    set(notes "")
  elseif(line MATCHES "^Released: (.+)$")
    set(date "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^~+$" OR line STREQUAL "")
  elseif(notes STREQUAL "")
    set(notes "  * ${line}\n")
  else()
    string(APPEND notes "    ${line}\n")
  endif()
endforeach()
close_entry()
if(NOT changelog MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\)")
  message(FATAL_ERROR "The newest release in ${CPACK_FRETLORE_METAINFO} is not "
                      "${CPACK_PACKAGE_VERSION}: add a release entry for it.")
endif()
file(WRITE "${doc}/changelog" "${changelog}")
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
