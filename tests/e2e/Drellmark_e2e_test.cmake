# The keeper itself, started as a process; one at a time, since its instances share one mutex and the
# chat client's remembered account.
velloran_content_server_fixture()
add_executable(${name} ${src})
target_link_libraries(${name} PRIVATE tk GTest::gtest GTest::gtest_main)
add_dependencies(${name} Drellmark Velloran)
target_compile_definitions(${name} PRIVATE DRELLMARK_EXE="$<TARGET_FILE:Drellmark>" VELLORAN_EXE="$<TARGET_FILE:Velloran>"
  DRELLMARK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE RESOURCE_LOCK messenger_account FIXTURES_REQUIRED contentserver
  ENVIRONMENT "VELLORAN_CONTENTSERVER_STATE=${VELLORAN_CONTENTSERVER_STATE}")
