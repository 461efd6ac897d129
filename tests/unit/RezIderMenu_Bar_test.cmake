# The menu bar tests pack the solid-colour test skin from the source tree with the packer's code.
# Tracked menus and the bar's active frame need the desktop's activation and pointer to themselves.
velloran_test(RezIderMenu_Bar_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RezIderMenu_Bar_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp ${CMAKE_SOURCE_DIR}/tools/skinpack/SkinPack.cpp
  LIBS ${UNIT_LIBS} ALONE "BarAlone.*")
target_compile_definitions(RezIderMenu_Bar_test PRIVATE TEST_SKIN_DIR="${CMAKE_SOURCE_DIR}/skins/test")
