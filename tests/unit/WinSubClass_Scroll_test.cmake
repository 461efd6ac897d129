# The skinned-control tests load the solid-colour test skin, packed from the source tree.
add_executable(WinSubClass_Scroll_test ${CMAKE_CURRENT_SOURCE_DIR}/WinSubClass_Scroll_test.cpp
               ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp)
target_link_libraries(WinSubClass_Scroll_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
target_compile_definitions(WinSubClass_Scroll_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
# The drags move the desktop's pointer and hold the mouse capture: they run alone, and no other
# case is disturbed by them.
set(scroll_drags "DragTest.*:ScControlTest.SystemDrag*")
gtest_discover_tests(WinSubClass_Scroll_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER ${scroll_drags} PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
gtest_discover_tests(WinSubClass_Scroll_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER -${scroll_drags} PROPERTIES TIMEOUT 300)
