# Shared helpers for both builds.

# velloran_discover_tests(NAME ALONE [PROPERTY VALUE...]): ctest lists NAME's cases one by one when
# it runs, so the build never needs Wine or a display. The cases the GoogleTest filter ALONE names
# (none when it is empty) need the desktop's activation and pointer to themselves: they run while no
# other test runs.
function(velloran_discover_tests name alone)
  set(discover DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
  if(alone)
    gtest_discover_tests(${name} ${discover} TEST_FILTER "-${alone}" PROPERTIES TIMEOUT 300 ${ARGN})
    gtest_discover_tests(${name} ${discover} TEST_FILTER "${alone}" PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
      ${ARGN})
  else()
    gtest_discover_tests(${name} ${discover} PROPERTIES TIMEOUT 300 ${ARGN})
  endif()
endfunction()

# velloran_test(NAME SOURCES... LIBS ... [ALONE FILTER]): a GoogleTest executable whose cases ctest
# lists one by one; the cases ALONE names run alone.
function(velloran_test name)
  cmake_parse_arguments(T "" "ALONE" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  velloran_discover_tests(${name} "${T_ALONE}")
endfunction()

# velloran_subdirs(DIR...): adds each folder that has a CMakeLists.txt; a folder's CMakeLists.txt
# asks `if(WIN32)` for what belongs to one build only.
macro(velloran_subdirs)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

# velloran_sanitize(TARGET): native only; builds and links TARGET with VELLORAN_SANITIZE.
function(velloran_sanitize target)
  if(NOT WIN32 AND VELLORAN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${VELLORAN_SANITIZE} -fno-omit-frame-pointer
      -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=${VELLORAN_SANITIZE})
  endif()
endfunction()

# Form descriptions are compiled into the Windows programs as resources.
if(WIN32)
  enable_language(RC)
endif()
set(VELLORAN_FORM_DATA_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/FormData.cmake)
include(${VELLORAN_FORM_DATA_SCRIPT})

# velloran_forms(TARGET FORMS file.dfm... [FILES_FROM dir...] [DEPENDS file-or-target...])
# Puts each form description into TARGET as an RCDATA resource named after its form class in
# upper case (`object frm_Main: Tfrm_Main` gives TFRM_MAIN), which ReadComponentRes(form) reads.
# Build-time data: a binary value written `{@file NAME}` in a description (such as
# `SkinStream = {@file default.skin}`) is replaced, when the target is built, by `{ hex }` of
# NAME's bytes. NAME is looked up in the description's folder, then in each FILES_FROM folder; a
# file that does not exist yet is expected in the first FILES_FROM folder, made by DEPENDS.
function(velloran_forms target)
  cmake_parse_arguments(F "" "" "FORMS;FILES_FROM;DEPENDS" ${ARGN})
  set(rc_text "")
  set(outs "")
  foreach(dfm ${F_FORMS})
    get_filename_component(dfm ${dfm} ABSOLUTE)
    get_filename_component(dfm_dir ${dfm} DIRECTORY)
    get_filename_component(dfm_name ${dfm} NAME)
    set(dirs ${dfm_dir} ${F_FILES_FROM})

    file(STRINGS ${dfm} head REGEX "^[ \t]*object[ \t]" LIMIT_COUNT 1)
    if(NOT head MATCHES "^[ \t]*object[ \t]+[A-Za-z0-9_]+[ \t]*:[ \t]*([A-Za-z_][A-Za-z0-9_]*)")
      message(FATAL_ERROR "${dfm}: no `object Name: TClass` line")
    endif()
    string(TOUPPER ${CMAKE_MATCH_1} res_name)

    set(data_files "")
    file(STRINGS ${dfm} data_lines REGEX "{@file[ \t]")
    foreach(line ${data_lines})
      string(REGEX MATCH "{@file[ \t]+([^} \t]+)" _ "${line}")
      velloran_find_form_file(found ${CMAKE_MATCH_1} ${dirs})
      if(NOT found AND F_FILES_FROM)
        list(GET F_FILES_FROM 0 first)
        set(found ${first}/${CMAKE_MATCH_1})
      endif()
      if(NOT found)
        message(FATAL_ERROR "${dfm}: ${CMAKE_MATCH_1} not found in ${dirs}")
      endif()
      list(APPEND data_files ${found})
    endforeach()

    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms/${dfm_name})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${dfm} -DOUT=${out} "-DDIRS=${dirs}" -P ${VELLORAN_FORM_DATA_SCRIPT}
      DEPENDS ${dfm} ${data_files} ${F_DEPENDS} ${VELLORAN_FORM_DATA_SCRIPT}
      COMMENT "Form description ${dfm_name}" VERBATIM)
    string(APPEND rc_text "${res_name} RCDATA \"${out}\"\n")
    list(APPEND outs ${out})
  endforeach()

  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms.rc)
  file(CONFIGURE OUTPUT ${rc} CONTENT "${rc_text}")
  target_sources(${target} PRIVATE ${rc} ${outs})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${outs}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${F_FORMS})
endfunction()
