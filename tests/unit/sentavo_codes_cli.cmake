# Runs the built sentavo-codes as a user would (under Wine for the Windows build): issue a code,
# show it, and refuse a file one byte short of a record.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/share")

function(run_tool)
  execute_process(COMMAND ${EMULATOR} "${TOOL}" ${ARGN}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  set(out "${out}${err}" PARENT_SCOPE)
  set(rc "${rc}" PARENT_SCOPE)
endfunction()

run_tool(issue --share "${WORK}/share" --name "Kód 7" --seconds 3600 --type daily --reusable
         --establishment "Provozovna Žďár" --rights "alttab,ctrlaltdel" --list "${WORK}/share/codes.dat")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "issue failed (${rc}): ${out}")
endif()
file(SIZE "${WORK}/share/Kód 7.dat" size)
if(NOT size EQUAL 5728)
  message(FATAL_ERROR "the code file has ${size} bytes")
endif()
file(READ "${WORK}/share/codes.dat" list HEX)
if(NOT list STREQUAL "4bf36420370d0a")  # "Kód 7" CR LF in Windows-1250
  message(FATAL_ERROR "codes.dat holds ${list}")
endif()

run_tool(show "${WORK}/share/Kód 7.dat")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "show failed (${rc}): ${out}")
endif()
foreach(needle "\"secondsLeft\": 3600" "\"establishment\": \"Provozovna Žďár\"" "\"alttab\": true"
               "\"reusable\": true" "\"codeType\": 1" "\"loggedIn\": false")
  string(FIND "${out}" "${needle}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "show lacks ${needle}: ${out}")
  endif()
endforeach()

execute_process(COMMAND head -c 5727 "${WORK}/share/Kód 7.dat" OUTPUT_FILE "${WORK}/share/short.dat")
run_tool(show "${WORK}/share/short.dat")
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "a 5727-byte file gave exit code ${rc}: ${out}")
endif()

run_tool(issue --share "${WORK}/share" --name "a" --seconds 59 --type once)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "59 seconds were accepted (${rc}): ${out}")
endif()
message(STATUS "sentavo-codes works as a command")
