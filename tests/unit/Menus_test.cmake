# The menus test form is a form description resource.
add_executable(Menus_test ${CMAKE_CURRENT_SOURCE_DIR}/Menus_test.cpp)
target_link_libraries(Menus_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
velloran_forms(Menus_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/MenusTest.dfm)
# A shown menu needs the desktop's activation and pointer to itself.
velloran_discover_tests(Menus_test "MenusAlone.*")
