# The reader's test carries a form description as a resource: one binary value from a file in
# the source folder, one from a file the build makes first (as the packed skin is).
velloran_test(FormReader_test SOURCES ${src} LIBS ${UNIT_LIBS})
set(form_data ${CMAKE_CURRENT_BINARY_DIR}/FormReader_data)
add_custom_command(OUTPUT ${form_data}/made.bin
  COMMAND ${CMAKE_COMMAND} -E make_directory ${form_data}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/FormReader_test.bin ${form_data}/made.bin
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/FormReader_test.bin VERBATIM)
velloran_forms(FormReader_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/FormReader_test.dfm
  FILES_FROM ${form_data} DEPENDS ${form_data}/made.bin)
