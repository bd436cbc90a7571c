# Fails when the disassembly of DLL holds an SSE register or an SSE2-only instruction: the plug-in
# runs on any i686 processor, and one without SSE2 would stop the host at that instruction.
# Usage: cmake -DOBJDUMP=<objdump> -DDLL=<file> -DLISTING=<scratch file> -P no_sse2_check.cmake
execute_process(COMMAND ${OBJDUMP} -d ${DLL} OUTPUT_FILE ${LISTING} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} could not disassemble ${DLL}")
endif()
# Only code counts: the exception tables (.gcc_except_table) lie in the code section as data, and
# their bytes may read as any instruction. The listing names each block before its lines.
file(STRINGS ${LISTING} lines
    REGEX "^[0-9a-f]+ <.*>:$|%xmm[0-9]|[ \t](mfence|lfence|movnti|clflush|maskmovdqu)[ \t]")
set(found)
set(inTable FALSE)
foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-f]+ <(.*)>:$")
        string(COMPARE EQUAL "${CMAKE_MATCH_1}" ".gcc_except_table" inTable)
    elseif(NOT inTable)
        list(APPEND found "${line}")
    endif()
endforeach()
list(LENGTH found count)
if(count GREATER 0)
    list(SUBLIST found 0 5 first)
    list(JOIN first "\n" first)
    message(FATAL_ERROR "${DLL} holds ${count} SSE instructions, among them:\n${first}")
endif()
message(STATUS "${DLL}: no SSE instruction")
