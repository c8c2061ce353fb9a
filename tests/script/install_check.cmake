# Installs the build into a fresh prefix and validates the desktop entry and the
# AppStream metainfo there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/velmora share/applications/velmora.desktop
          share/icons/hicolor/scalable/apps/velmora.svg
          share/metainfo/org.velmora.Velmora.metainfo.xml share/man/man6/velmora.6
          share/velmora/how-solar-system-formed.htm)
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
