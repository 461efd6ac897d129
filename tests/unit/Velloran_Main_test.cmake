include(${CMAKE_SOURCE_DIR}/tools/contentserver/ContentServer.cmake)
# The first showing and the end of the program are watched for paints: another program taking the
# desktop's activation meanwhile would paint the frame too, so those cases run alone.
velloran_server_test(Velloran_Main_test SOURCES ${src} LIBS velloran_ui ALONE "VelloranEnd.*:VelloranFirstShowing.*")
velloran_ui_forms(Velloran_Main_test)
