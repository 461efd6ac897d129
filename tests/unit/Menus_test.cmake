# The menus test form is a form description resource.
add_executable(Menus_test ${CMAKE_CURRENT_SOURCE_DIR}/Menus_test.cpp)
target_link_libraries(Menus_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
velloran_forms(Menus_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/MenusTest.dfm)
gtest_discover_tests(Menus_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER "-MenusAlone.*" PROPERTIES TIMEOUT 300)
# A shown menu needs the desktop's activation and pointer to itself.
gtest_discover_tests(Menus_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER "MenusAlone.*" PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
