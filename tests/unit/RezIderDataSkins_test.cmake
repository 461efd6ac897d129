# Our skins, read from the source tree's skins/ folder and packed with the packer's own code.
velloran_test(RezIderDataSkins_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderDataSkins_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS})
target_compile_definitions(RezIderDataSkins_test PRIVATE VELLORAN_SKINS_DIR="Z:${CMAKE_SOURCE_DIR}/skins")
