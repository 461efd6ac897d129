include(${CMAKE_SOURCE_DIR}/tools/contentserver/ContentServer.cmake)
velloran_server_test(Http_test SOURCES ${src} LIBS ${UNIT_LIBS})
target_compile_definitions(Http_test PRIVATE VELLORAN_SERVER_BASE="${VELLORAN_SERVER_BASE}")
