# The menu bar tests pack the solid-colour test skin from the source tree with the packer's code.
add_executable(RezIderMenu_Bar_test ${CMAKE_CURRENT_SOURCE_DIR}/RezIderMenu_Bar_test.cpp
  ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp)
target_link_libraries(RezIderMenu_Bar_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
target_compile_definitions(RezIderMenu_Bar_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
gtest_discover_tests(RezIderMenu_Bar_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER "-BarAlone.*" PROPERTIES TIMEOUT 300)
# Tracked menus and the bar's active frame need the desktop's activation and pointer to themselves.
gtest_discover_tests(RezIderMenu_Bar_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER "BarAlone.*" PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
