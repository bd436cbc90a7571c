# cmake -DIN=readme.ru.txt -DOUT=readme.txt -P cp1251_text.cmake
# The files a user reads are kept in UTF-8 and shipped in code page 1251 with CRLF line ends. Fails on
# a character that code page cannot hold (iconv refuses it), so no character is lost or replaced.
if(NOT IN OR NOT OUT)
    message(FATAL_ERROR "usage: cmake -DIN=source -DOUT=target -P cp1251_text.cmake")
endif()
execute_process(COMMAND iconv -f UTF-8 -t CP1251 "${IN}"
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${IN} cannot be written in code page 1251: ${error}")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\r" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.tmp" "${text}")
file(RENAME "${OUT}.tmp" "${OUT}")
