# One Windows program for the skin archive: the host build's decoder, reader and packer tests
# (one source of tests for both builds) and the message box test beside this file.
velloran_test(${name} SOURCES ${src}
  ${CMAKE_SOURCE_DIR}/tests/native/LZH_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/native/SkinRead_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/native/SkinPack_test.cpp
  ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp
  ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS skin_archive)
