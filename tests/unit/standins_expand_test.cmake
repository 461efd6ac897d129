# The expander test unpacks cabinets made with gcab at build time.
set(STANDINS_CAB_DIR ${CMAKE_CURRENT_BINARY_DIR}/standins_expand)
file(WRITE ${STANDINS_CAB_DIR}/files/wave.swf "FWS stand-in movie bytes\n")
file(WRITE ${STANDINS_CAB_DIR}/files/readme.txt "second file of the cabinet\n")
add_custom_command(OUTPUT ${STANDINS_CAB_DIR}/two.cab
  COMMAND gcab -c -n two.cab files/wave.swf files/readme.txt
  WORKING_DIRECTORY ${STANDINS_CAB_DIR}
  COMMENT "cabinet for the expander test")
add_custom_target(standins_expand_cab DEPENDS ${STANDINS_CAB_DIR}/two.cab)
velloran_test(${name} SOURCES ${src} LIBS ${UNIT_LIBS})
add_dependencies(${name} standins_expand_cab)
target_compile_definitions(${name} PRIVATE STANDINS_CAB_DIR="${STANDINS_CAB_DIR}")
