# Checks that every snippet of tour.cpp (the lines between "// snippet: <name>"
# and "// end snippet", without their two-space indent) stands word for word
# in a ```cpp block of the README, so the README shows only code that builds.
#   cmake -DTOUR=<tour.cpp> -DREADME=<README.md> -P check_snippets.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${TOUR}" tour)
file(READ "${README}" readme)

set(open_mark "// snippet: ")
set(close_mark "// end snippet")
set(checked 0)
set(missing "")
while(TRUE)
  string(FIND "${tour}" "${open_mark}" start)
  if(start EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${tour}" ${start} -1 tour)
  string(FIND "${tour}" "\n" name_end)
  string(LENGTH "${open_mark}" mark_length)
  math(EXPR name_length "${name_end} - ${mark_length}")
  string(SUBSTRING "${tour}" ${mark_length} ${name_length} name)
  math(EXPR body_start "${name_end} + 1")
  string(SUBSTRING "${tour}" ${body_start} -1 tour)
  string(FIND "${tour}" "${close_mark}" body_end)
  if(body_end EQUAL -1)
    message(FATAL_ERROR "snippet '${name}' in ${TOUR} has no end mark")
  endif()
  string(SUBSTRING "${tour}" 0 ${body_end} body)
  string(SUBSTRING "${tour}" ${body_end} -1 tour)

  # The body ends with the end mark's indent; drop it, then the indent of
  # every line.
  string(REGEX REPLACE " +$" "" body "${body}")
  string(REGEX REPLACE "^  " "" body "${body}")
  string(REPLACE "\n  " "\n" body "${body}")
  string(FIND "${readme}" "```cpp\n${body}```" found)
  if(found EQUAL -1)
    list(APPEND missing "${name}")
  endif()
  math(EXPR checked "${checked} + 1")
endwhile()

if(checked EQUAL 0)
  message(FATAL_ERROR "no snippets found in ${TOUR}")
endif()
if(missing)
  message(FATAL_ERROR "README.md does not show these tour.cpp snippets as "
                      "they are: ${missing}")
endif()
message(STATUS "all ${checked} tour snippets appear in the README")
