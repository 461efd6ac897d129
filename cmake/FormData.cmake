# Build-time data of form descriptions. Included by Helpers.cmake for velloran_find_form_file;
# run in script mode by velloran_forms, it copies the description IN to OUT with every
# `{@file NAME}` replaced by `{ hex }` of NAME's bytes (NAME looked up in the folders DIRS).

# velloran_find_form_file(VAR NAME DIR...): the first DIR/NAME that exists, or "".
function(velloran_find_form_file var name)
  set(found "")
  foreach(dir ${ARGN})
    if(NOT found AND EXISTS ${dir}/${name})
      set(found ${dir}/${name})
    endif()
  endforeach()
  set(${var} "${found}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  file(READ ${IN} text)
  set(out "")
  string(REPEAT "[0-9A-F]" 64 line_of_digits)
  while(text MATCHES "{@file[ \t]+([^} \t]+)[ \t]*}")
    set(whole "${CMAKE_MATCH_0}")
    set(name "${CMAKE_MATCH_1}")
    string(FIND "${text}" "${whole}" at)
    string(LENGTH "${whole}" len)
    string(SUBSTRING "${text}" 0 ${at} before)
    math(EXPR rest "${at} + ${len}")
    string(SUBSTRING "${text}" ${rest} -1 text)

    velloran_find_form_file(path ${name} ${DIRS})
    if(NOT path)
      message(FATAL_ERROR "${IN}: ${name} not found in ${DIRS}")
    endif()
    file(READ ${path} hex HEX)
    string(TOUPPER "${hex}" hex)
    # 64 digits a line, as the description's own binary values are written.
    string(REGEX REPLACE "(${line_of_digits})" "\\1\n      " hex "${hex}")
    string(APPEND out "${before}{\n      ${hex}}")
  endwhile()
  string(APPEND out "${text}")
  file(WRITE ${OUT} "${out}")
endif()
