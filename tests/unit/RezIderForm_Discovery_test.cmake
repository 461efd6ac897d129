# The skinned form's tests pack the solid-colour test skin from the source tree with the packer's code.
velloran_test(RezIderForm_Discovery_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderForm_Discovery_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS})
target_compile_definitions(RezIderForm_Discovery_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
# The form holding every control kind discovery knows by a toolkit class, as a form description.
velloran_forms(RezIderForm_Discovery_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/RezIderForm_Discovery_test.dfm)
