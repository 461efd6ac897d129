# The skinned form's menu tests: the menus test form is a form description resource, skinned with
# the solid-colour test skin packed from the source tree with the packer's code.
add_executable(RezIderForm_Menus_test ${CMAKE_CURRENT_SOURCE_DIR}/RezIderForm_Menus_test.cpp
  ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp)
target_link_libraries(RezIderForm_Menus_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
target_compile_definitions(RezIderForm_Menus_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
velloran_forms(RezIderForm_Menus_test FORMS ${CMAKE_CURRENT_SOURCE_DIR}/MenusTest.dfm)
# Tracked menus need the desktop's activation and pointer to themselves.
velloran_discover_tests(RezIderForm_Menus_test "SkinnedMenusAlone.*")
