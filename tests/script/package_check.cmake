# Builds the Debian package, runs lintian on it (no error allowed), installs it with
# dpkg into a scratch root and runs the installed game there.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${out}")
endif()
file(GLOB debs ${WORK}/velmora_${VERSION}_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package, found: ${debs}")
endif()

execute_process(COMMAND ${LINTIAN} --fail-on error ${debs} RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian reports errors:\n${out}${err}")
endif()

# A root of our own: dpkg keeps its database there; the libraries come from this
# machine, so their packages are not asked for.
set(root ${WORK}/root)
file(MAKE_DIRECTORY ${root}/var/lib/dpkg/info ${root}/var/lib/dpkg/updates)
file(TOUCH ${root}/var/lib/dpkg/status)
execute_process(COMMAND ${DPKG} --root=${root} --force-not-root --force-depends
                        --force-script-chrootless -i ${debs}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg -i failed: ${out}")
endif()
foreach(f games/velmora share/applications/velmora.desktop
          share/icons/hicolor/scalable/apps/velmora.svg
          share/metainfo/org.velmora.Velmora.metainfo.xml share/man/man6/velmora.6.gz
          share/velmora/how-solar-system-formed.htm share/doc/velmora/copyright
          share/doc/velmora/changelog.gz)
  if(NOT EXISTS ${root}/usr/${f})
    message(FATAL_ERROR "not in the package: ${f}")
  endif()
endforeach()
execute_process(COMMAND ${root}/usr/games/velmora --version RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "velmora ${VERSION}\n")
  message(FATAL_ERROR "the installed game says '${out}${err}' (exit ${rc})")
endif()
