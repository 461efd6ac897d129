velloran_test(XmlDom_test SOURCES ${src} LIBS ${UNIT_LIBS})
target_compile_definitions(XmlDom_test PRIVATE VELLORAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
