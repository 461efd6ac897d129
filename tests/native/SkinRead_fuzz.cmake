# The reader's fuzzer. The archive code is compiled into it with libFuzzer's coverage; ctest runs
# it for a fixed short time from seeds that skinpack packs from a small fixture skin.
add_executable(${name} ${src} ${SKIN_ARCHIVE_SOURCES} ${CMAKE_SOURCE_DIR}/tools/skinpack/LZHPack.cpp)
target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)

set(${name}_seeds ${CMAKE_CURRENT_BINARY_DIR}/${name}_seeds)
set(${name}_corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
file(GLOB ${name}_fixture CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/skin-small/*)
add_custom_command(OUTPUT ${${name}_seeds}/skin-small.skn
  COMMAND ${CMAKE_COMMAND} -E make_directory ${${name}_seeds} ${${name}_corpus}
  COMMAND skinpack ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/skin-small ${${name}_seeds}/skin-small.skn
  DEPENDS skinpack ${${name}_fixture}
  COMMENT "Packing the fuzzer's seed skin")
add_custom_target(${name}_seeds ALL DEPENDS ${${name}_seeds}/skin-small.skn)

add_test(NAME ${name}
  COMMAND ${name} -max_total_time=20 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}- ${${name}_corpus} ${${name}_seeds})
set_tests_properties(${name} PROPERTIES TIMEOUT 120)
