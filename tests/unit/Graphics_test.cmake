# Graphics_test carries a bitmap resource (Graphics_test.bmp, made by make_test_glyphs.py).
set(GRAPHICS_TEST_RES ${CMAKE_CURRENT_BINARY_DIR}/Graphics_test_res.o)
add_custom_command(OUTPUT ${GRAPHICS_TEST_RES}
  COMMAND ${CMAKE_RC_COMPILER} -I ${CMAKE_CURRENT_SOURCE_DIR} -i ${CMAKE_CURRENT_SOURCE_DIR}/Graphics_test.rc
    -o ${GRAPHICS_TEST_RES}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Graphics_test.rc ${CMAKE_CURRENT_SOURCE_DIR}/Graphics_test.bmp)
velloran_test(Graphics_test SOURCES ${src} ${GRAPHICS_TEST_RES} LIBS ${UNIT_LIBS})
