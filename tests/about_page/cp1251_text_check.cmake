# One run of cmake/cp1251_text.cmake: -DIN=source -DEXPECTED=file of the bytes it must write, or
# -DEXPECTED=FAIL when the conversion must fail and write nothing.
set(out "${CMAKE_CURRENT_BINARY_DIR}/cp1251-check-${CHECK}.txt")
file(REMOVE "${out}")
execute_process(COMMAND ${CMAKE_COMMAND} -DIN=${IN} -DOUT=${out} -P ${SCRIPT}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(EXPECTED STREQUAL "FAIL")
    if(status EQUAL 0 OR EXISTS "${out}")
        message(FATAL_ERROR "${IN} was converted although code page 1251 cannot hold it")
    endif()
else()
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${IN} was not converted")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${out}" "${EXPECTED}" RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${out} differs from ${EXPECTED}")
    endif()
endif()
