# Cases that need the desktop's focus and pointer to themselves run alone.
add_executable(Focus_test ${src})
target_link_libraries(Focus_test PRIVATE ${UNIT_LIBS} GTest::gtest GTest::gtest_main)
gtest_discover_tests(Focus_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
