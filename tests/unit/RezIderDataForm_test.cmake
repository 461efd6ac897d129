# A form description holding a skin component whose "SkinStream" is our default skin, packed at
# build time as the programs' main forms store it.
velloran_test(RezIderDataForm_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderDataForm_test.cpp LIBS ${UNIT_LIBS})
velloran_forms(RezIderDataForm_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/RezIderDataForm_test.dfm
  FILES_FROM ${VELLORAN_SKIN_STREAM_DIR} DEPENDS skin_default_stream)
