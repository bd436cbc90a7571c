# Runs TOOL (through EMULATOR when given) on INPUT and compares its standard output with EXPECTED;
# the malformed line of the input must be named on standard error. The input is given by its name
# from its own folder, so that a Windows build under Wine reads it the same way; line ends of a
# Windows build's output are taken as plain line breaks.
get_filename_component(folder ${INPUT} DIRECTORY)
get_filename_component(name ${INPUT} NAME)
execute_process(COMMAND ${EMULATOR} ${TOOL} ${name} WORKING_DIRECTORY ${folder}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" out "${out}")
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 3)
    message(FATAL_ERROR "exit status ${status}: ${err}")
endif()
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "output differs:\n${out}\nexpected:\n${expected}")
endif()
if(NOT err MATCHES "examples.txt:9: not a duration: \"abc\"")
    message(FATAL_ERROR "no message for line 9: ${err}")
endif()
