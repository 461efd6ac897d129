# The skinned form's tests pack the solid-colour test skin from the source tree with the packer's code.
velloran_test(RezIderForm_Proc_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderForm_Proc_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS} ALONE "ProcAlone.*:MenusAlone.*")
target_compile_definitions(RezIderForm_Proc_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
