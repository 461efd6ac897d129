# The program itself, started as a process, with the stand-ins of the chat client, the Flash player
# and the web browser; one at a time, since its instances share one mutex.
velloran_content_server_fixture()
add_executable(${name} ${src})
target_link_libraries(${name} PRIVATE tk GTest::gtest GTest::gtest_main)
add_dependencies(${name} Velloran standins)
target_compile_definitions(${name} PRIVATE VELLORAN_EXE="$<TARGET_FILE:Velloran>"
  VELLORAN_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE FIXTURES_REQUIRED contentserver
  ENVIRONMENT "VELLORAN_CONTENTSERVER_STATE=${VELLORAN_CONTENTSERVER_STATE}")
