# Runs TOOL on INPUT and compares its standard output with EXPECTED; the malformed line of the
# input must be named on standard error.
execute_process(COMMAND ${TOOL} ${INPUT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 3)
    message(FATAL_ERROR "exit status ${status}")
endif()
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "output differs:\n${out}\nexpected:\n${expected}")
endif()
if(NOT err MATCHES "examples.txt:9: not a duration: \"abc\"")
    message(FATAL_ERROR "no message for line 9: ${err}")
endif()
