# The cross build: Windows programs, their libraries and tests under Wine.
include(GoogleTest)

set(VELLORAN_DEPS "/var/cache/velloran-deps/current" CACHE PATH "cross-built third-party prefix (scripts/setup)")
if(NOT EXISTS ${VELLORAN_DEPS}/lib/libjpeg.a)
  message(FATAL_ERROR "No cross-built dependencies in ${VELLORAN_DEPS}: run scripts/setup")
endif()

# Tests and tools run under the target's Wine in this build's own prefix: wine-env says which (the
# scripts source it), wine-run runs one program there.
if(NOT VELLORAN_TARGET)
  message(FATAL_ERROR "Configure with cmake/toolchain-mingw32.cmake or cmake/toolchain-mingw64.cmake")
endif()
set(VELLORAN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(VELLORAN_TARGET STREQUAL win64)
  set(VELLORAN_WINEARCH win64)
else()
  set(VELLORAN_WINEARCH win32)
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-env.in ${CMAKE_BINARY_DIR}/wine-env @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_compile_definitions(NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 STRICT)

add_library(jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg PROPERTIES IMPORTED_LOCATION ${VELLORAN_DEPS}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${VELLORAN_DEPS}/include)

add_library(curl STATIC IMPORTED GLOBAL)
set_target_properties(curl PROPERTIES IMPORTED_LOCATION ${VELLORAN_DEPS}/lib/libcurl.a
  INTERFACE_INCLUDE_DIRECTORIES ${VELLORAN_DEPS}/include
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;bcrypt;advapi32")

add_library(GTest::gtest STATIC IMPORTED GLOBAL)
set_target_properties(GTest::gtest PROPERTIES IMPORTED_LOCATION ${VELLORAN_DEPS}/lib/libgtest.a
  INTERFACE_INCLUDE_DIRECTORIES ${VELLORAN_DEPS}/include)
add_library(GTest::gtest_main STATIC IMPORTED GLOBAL)
set_target_properties(GTest::gtest_main PROPERTIES IMPORTED_LOCATION ${VELLORAN_DEPS}/lib/libgtest_main.a
  INTERFACE_LINK_LIBRARIES GTest::gtest)

# The host build's tools (skin packer), built first by the Makefile.
set(VELLORAN_HOST_BIN "${CMAKE_SOURCE_DIR}/build/native/bin" CACHE PATH "host tools folder")
