# Plays one script against the game and compares its standard output (and exit
# status, when NAME.status exists) with what is expected. The script runs in a
# fresh folder with its own tally file.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
execute_process(COMMAND ${VELMORA} --script ${SCRIPT} --tally ${WORKDIR}/tallyho.ogg
                WORKING_DIRECTORY ${WORKDIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
string(REGEX REPLACE "\\.expected$" ".status" status_file ${EXPECTED})
set(want_status 0)
if(EXISTS ${status_file})
  file(READ ${status_file} want_status)
  string(STRIP "${want_status}" want_status)
endif()
if(NOT "${status}" STREQUAL "${want_status}")
  message(FATAL_ERROR "exit status ${status}, expected ${want_status}\nstderr:\n${err}")
endif()
file(READ ${EXPECTED} want)
if(NOT "${out}" STREQUAL "${want}")
  file(WRITE ${WORKDIR}/actual.out "${out}")
  message(FATAL_ERROR "output differs from ${EXPECTED}\n--- expected\n${want}\n--- actual\n${out}\nstderr:\n${err}")
endif()
