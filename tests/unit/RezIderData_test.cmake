# The skin component's tests build their archives in memory with the packer's own code.
velloran_test(RezIderData_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderData_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS})
