# The drawing tests read the solid-colour test skin's pictures from the source tree.
velloran_test(SkinDraw_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/SkinDraw_test.cpp LIBS ${UNIT_LIBS})
target_compile_definitions(SkinDraw_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
