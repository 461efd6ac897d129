# The packer's tests also run the built tool, as the cross build does.
velloran_test(${name} SOURCES ${src} LIBS ${NATIVE_LIBS})
velloran_sanitize(${name})
target_compile_definitions(${name} PRIVATE SKINPACK_EXE="$<TARGET_FILE:skinpack>")
add_dependencies(${name} skinpack)
