include(${CMAKE_SOURCE_DIR}/tools/contentserver/ContentServer.cmake)
# The end of the program is watched for frame paints: another program taking the desktop's
# activation meanwhile would paint the frame too, so that case runs alone.
velloran_server_test(Velloran_Main_test SOURCES ${src} LIBS velloran_ui ALONE "VelloranEnd.*")
velloran_ui_forms(Velloran_Main_test)
