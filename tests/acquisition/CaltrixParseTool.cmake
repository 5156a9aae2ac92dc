# Runs caltrix-parse on the fixture page as an operator does: it writes the
# result files, leaves the operator's page, and fails with a clear status.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/out)
file(COPY ${FIXTURES}/live_page.htm DESTINATION ${WORK})

execute_process(COMMAND ${TOOL} ${WORK}/live_page.htm --out ${WORK}/out --slot 1=SERIEA\; --slot 5=\;\;
                RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "caltrix-parse failed (${status}): ${output}")
endif()
# The files' bytes are checked against the fixtures by the parser's own tests.
foreach(written video1.txt lmVideo1.txt lmVideo5.txt)
  if(NOT EXISTS ${WORK}/out/${written})
    message(FATAL_ERROR "caltrix-parse wrote no ${written}")
  endif()
endforeach()
if(NOT EXISTS ${WORK}/live_page.htm)
  message(FATAL_ERROR "caltrix-parse deleted the operator's page")
endif()

execute_process(COMMAND ${TOOL} ${WORK}/missing.htm --out ${WORK}/out RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "a missing page should be a usage error, got ${status}: ${error}")
endif()
file(WRITE ${WORK}/broken.htm "<td class=title>A - B</td>\r\n<x>>a<<x>\r\n")
execute_process(COMMAND ${TOOL} ${WORK}/broken.htm --out ${WORK}/out --slot 12=x RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "slot 12 should be a usage error, got ${status}")
endif()
execute_process(COMMAND ${TOOL} ${WORK}/broken.htm --out ${WORK}/out RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 1 OR NOT error MATCHES "tag without end")
  message(FATAL_ERROR "a broken page should fail with status 1, got ${status}: ${error}")
endif()
