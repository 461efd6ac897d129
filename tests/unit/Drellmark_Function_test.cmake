velloran_test(Drellmark_Function_test SOURCES ${src} LIBS ${UNIT_LIBS} drellmark_core)
