# OrvikPlug.dll: the Win32 shell over the portable core, exports from the .def file,
# runtime linked statically, with the version resource.
add_library(OrvikPlug SHARED
    ${ORVIK_SHELL_SOURCES}
    ${CMAKE_SOURCE_DIR}/plugin/OrvikPlug.def
    ${CMAKE_SOURCE_DIR}/resources/version.rc
    ${CMAKE_SOURCE_DIR}/setup_dialog/setup_form.rc)
set_target_properties(OrvikPlug PROPERTIES PREFIX "" OUTPUT_NAME OrvikPlug
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(OrvikPlug PRIVATE orvik_core user32 gdi32 comctl32 comdlg32 shell32 version)
target_compile_options(OrvikPlug PRIVATE ${ORVIK_WARNINGS})
target_include_directories(OrvikPlug PRIVATE ${CMAKE_SOURCE_DIR})

# The read-me beside the DLL and the distribution zip (target dist).
include(${CMAKE_SOURCE_DIR}/cmake/Distribution.cmake)
