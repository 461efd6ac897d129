# The content server as a ctest fixture for the Windows tests: started once per ctest run on a free
# loopback port, stopped after the last test that needs it. Tests find it through the environment
# variable VELLORAN_CONTENTSERVER_STATE (the server's state folder, a host path).
find_program(VELLORAN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(VELLORAN_PYTHON3 NAMES python3)
set(VELLORAN_CONTENTSERVER_STATE ${CMAKE_BINARY_DIR}/contentserver)
set(VELLORAN_CONTENTSERVER ${CMAKE_SOURCE_DIR}/tools/contentserver/contentserver.py)

# Adds the fixture's start and stop tests once for the whole build.
function(velloran_content_server_fixture)
  get_property(done GLOBAL PROPERTY VELLORAN_CONTENTSERVER_FIXTURE)
  if(done)
    return()
  endif()
  set_property(GLOBAL PROPERTY VELLORAN_CONTENTSERVER_FIXTURE ON)
  add_test(NAME contentserver_start COMMAND ${VELLORAN_PYTHON3} ${VELLORAN_CONTENTSERVER} start
    --content ${CMAKE_SOURCE_DIR}/content --state ${VELLORAN_CONTENTSERVER_STATE} --lifetime 1800)
  add_test(NAME contentserver_stop COMMAND ${VELLORAN_PYTHON3} ${VELLORAN_CONTENTSERVER} stop
    --state ${VELLORAN_CONTENTSERVER_STATE})
  set_tests_properties(contentserver_start PROPERTIES FIXTURES_SETUP contentserver TIMEOUT 60)
  set_tests_properties(contentserver_stop PROPERTIES FIXTURES_CLEANUP contentserver TIMEOUT 60)
endfunction()

# velloran_server_test(NAME SOURCES... LIBS ... [ALONE FILTER]): a GoogleTest program whose cases
# run with the content server up and VELLORAN_SOURCE_DIR compiled in (for reading content/
# directly); the cases ALONE names run alone (velloran_discover_tests).
function(velloran_server_test name)
  cmake_parse_arguments(T "" "ALONE" "SOURCES;LIBS" ${ARGN})
  velloran_content_server_fixture()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VELLORAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  velloran_discover_tests(${name} "${T_ALONE}" FIXTURES_REQUIRED contentserver
    ENVIRONMENT "VELLORAN_CONTENTSERVER_STATE=${VELLORAN_CONTENTSERVER_STATE}")
endfunction()
