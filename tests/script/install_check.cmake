# Installs the build into a fresh prefix and validates the desktop entry, the
# AppStream metainfo and the saved-system file type there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/velmora share/applications/velmora.desktop
          share/icons/hicolor/scalable/apps/velmora.svg
          share/metainfo/org.velmora.Velmora.metainfo.xml share/man/man6/velmora.6
          share/velmora/how-solar-system-formed.htm share/mime/packages/velmora-system.xml)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/velmora.desktop
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "desktop-file-validate failed")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                        ${PREFIX}/share/metainfo/org.velmora.Velmora.metainfo.xml
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate failed")
endif()

# The file type builds into a MIME database (update-mime-database checks the XML)
# that names *.velmora, and the desktop entry opens such files.
# With the prefix on the data path, so that it does not warn that nobody looks there.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/share
                        ${UPDATE_MIME_DATABASE} ${PREFIX}/share/mime RESULT_VARIABLE rc
                ERROR_VARIABLE mime_errors)
if(NOT rc EQUAL 0 OR NOT mime_errors STREQUAL "")
  message(FATAL_ERROR "update-mime-database failed: ${mime_errors}")
endif()
file(READ ${PREFIX}/share/mime/globs2 globs)
if(NOT globs MATCHES "application/x-velmora-system:\\*\\.velmora")
  message(FATAL_ERROR "the MIME database has no *.velmora glob")
endif()
if(NOT EXISTS ${PREFIX}/share/mime/application/x-velmora-system.xml)
  message(FATAL_ERROR "the MIME database has no application/x-velmora-system")
endif()
file(READ ${PREFIX}/share/applications/velmora.desktop desktop)
if(NOT desktop MATCHES "MimeType=application/x-velmora-system;" OR NOT desktop MATCHES "Exec=velmora %f")
  message(FATAL_ERROR "the desktop entry does not open saved systems")
endif()
