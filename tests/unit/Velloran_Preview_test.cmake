include(${CMAKE_SOURCE_DIR}/tools/contentserver/ContentServer.cmake)
velloran_server_test(Velloran_Preview_test SOURCES ${src} LIBS velloran_ui)
velloran_ui_forms(Velloran_Preview_test)
