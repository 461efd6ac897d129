velloran_test(Velloran_About_test SOURCES ${src} LIBS velloran_ui)
velloran_ui_forms(Velloran_About_test Uni_About)
