# What a user unpacks beside the host: OrvikPlug.dll, the Russian read-me (kept in UTF-8, shipped
# in code page 1251 with CRLF; the DLL does not embed it, the about page reads it from beside the
# module), an example remote definition, a short English README and orvik-decode.exe (which turns
# remotes from the public collections into definition files), in one zip.
set(ORVIK_README_SOURCE ${CMAKE_SOURCE_DIR}/dist/readme.ru.txt)
set(ORVIK_README_BUILT ${CMAKE_BINARY_DIR}/bin/readme.txt)
set(ORVIK_DIST_ZIP ${CMAKE_BINARY_DIR}/OrvikPlug-${PROJECT_VERSION}.zip)
# The zip unpacked again by the build, so the install test runs what the zip really holds.
set(ORVIK_DIST_UNPACKED ${CMAKE_BINARY_DIR}/dist-unpacked)
set(dist_stage ${CMAKE_BINARY_DIR}/dist-stage)
set(cp1251_script ${CMAKE_SOURCE_DIR}/cmake/cp1251_text.cmake)

# Text files go out with CRLF; the conversion fails on a character code page 1251 cannot hold.
function(orvik_dist_text source target)
    add_custom_command(OUTPUT ${target}
        COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${target} -P ${cp1251_script}
        DEPENDS ${source} ${cp1251_script}
        COMMENT "Converting ${source} to code page 1251 with CRLF")
endfunction()
orvik_dist_text(${ORVIK_README_SOURCE} ${ORVIK_README_BUILT})
orvik_dist_text(${CMAKE_SOURCE_DIR}/dist/TV.cfg ${dist_stage}/TV.cfg)
orvik_dist_text(${CMAKE_SOURCE_DIR}/dist/README-en.txt ${dist_stage}/README-en.txt)
add_custom_target(orvik_readme ALL DEPENDS ${ORVIK_README_BUILT})

set(dist_files OrvikPlug.dll orvik-decode.exe readme.txt TV.cfg README-en.txt)
add_custom_command(OUTPUT ${ORVIK_DIST_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:OrvikPlug> $<TARGET_FILE:orvik-decode> ${ORVIK_README_BUILT}
            ${dist_stage}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${ORVIK_DIST_ZIP} --format=zip ${dist_files}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORVIK_DIST_UNPACKED}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVIK_DIST_UNPACKED}
    COMMAND ${CMAKE_COMMAND} -E chdir ${ORVIK_DIST_UNPACKED} ${CMAKE_COMMAND} -E tar xf ${ORVIK_DIST_ZIP}
    WORKING_DIRECTORY ${dist_stage}
    DEPENDS OrvikPlug orvik-decode ${ORVIK_README_BUILT} ${dist_stage}/TV.cfg ${dist_stage}/README-en.txt
    COMMENT "Packing ${ORVIK_DIST_ZIP}")
add_custom_target(dist ALL DEPENDS ${ORVIK_DIST_ZIP})
