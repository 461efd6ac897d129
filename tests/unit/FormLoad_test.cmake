# The form-loading test carries its form description as a resource.
velloran_test(FormLoad_test SOURCES ${src} LIBS ${UNIT_LIBS})
velloran_forms(FormLoad_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/FormLoad_test.dfm)
