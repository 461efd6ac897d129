# The skinned-control tests load the solid-colour test skin, packed from the source tree.
velloran_test(WinSubClass_Tab_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WinSubClass_Tab_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS})
target_compile_definitions(WinSubClass_Tab_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
