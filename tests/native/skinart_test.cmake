# The skin pictures tool's own sources, built here with the sanitizers, and the committed skins.
if(TARGET skinart_lib)
  get_target_property(SKINART_SOURCES skinart_lib SOURCES)
  list(TRANSFORM SKINART_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/tools/skinart/)
  velloran_test(skinart_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/skinart_test.cpp ${SKINART_SOURCES})
  target_compile_definitions(skinart_test PRIVATE SKINS_DIR="${CMAKE_SOURCE_DIR}/skins")
  velloran_sanitize(skinart_test)
endif()
