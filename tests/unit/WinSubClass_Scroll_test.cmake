# The skinned-control tests load the solid-colour test skin, packed from the source tree. The drags
# move the desktop's pointer and hold the mouse capture: they run alone, and no other case is
# disturbed by them.
velloran_test(WinSubClass_Scroll_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WinSubClass_Scroll_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS} ALONE "DragTest.*:ScControlTest.SystemDrag*")
target_compile_definitions(WinSubClass_Scroll_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
