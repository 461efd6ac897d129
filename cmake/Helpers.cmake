# Shared helpers for both builds.

# velloran_test(NAME SOURCES... LIBS ...): a GoogleTest executable whose cases ctest lists one by one.
function(velloran_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # Listed when ctest runs, so the build never needs Wine or a display.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endfunction()

# velloran_subdirs(DIR...): adds each folder that has a CMakeLists.txt; a folder's CMakeLists.txt
# asks `if(WIN32)` for what belongs to one build only.
macro(velloran_subdirs)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

# velloran_sanitize(TARGET): native only; builds and links TARGET with VELLORAN_SANITIZE.
function(velloran_sanitize target)
  if(NOT WIN32 AND VELLORAN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${VELLORAN_SANITIZE} -fno-omit-frame-pointer
      -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=${VELLORAN_SANITIZE})
  endif()
endfunction()
