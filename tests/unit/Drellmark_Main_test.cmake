# The keeper's main window with its real form descriptions, against the stand-in expander and Flash
# player, with packages made by gcab at build time. Its cases share the chat client's registry value
# and the desktop's focus (modal dialogs), and run alone.
find_program(DRELLMARK_PYTHON3 NAMES python3)
set(packages ${CMAKE_CURRENT_BINARY_DIR}/Drellmark_packages)
add_custom_command(OUTPUT ${packages}/twomovies.dat ${packages}/escape.dat ${packages}/notacab.dat
  COMMAND ${DRELLMARK_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/make_wink_packages.py ${packages}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_wink_packages.py COMMENT "Wink packages for the keeper's tests")
add_executable(Drellmark_Main_test ${src} ${packages}/twomovies.dat)
target_link_libraries(Drellmark_Main_test PRIVATE ${UNIT_LIBS} drellmark_core GTest::gtest GTest::gtest_main)
target_compile_definitions(Drellmark_Main_test PRIVATE DRELLMARK_PACKAGES="Z:${packages}")
drellmark_forms(Drellmark_Main_test)
gtest_discover_tests(Drellmark_Main_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE RESOURCE_LOCK messenger_account)
