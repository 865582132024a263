# One run of morvane-leaks on a case of tests/leaks/, compared with what the
# case expects:
#
#   cmake -DPROGRAM=<morvane-leaks> -DCASE=<case directory> -DWORK=<directory>
#         [-DEMULATOR=<runner and its arguments, separated by '|'>]
#         -P run_leaks_case.cmake
#
# The program runs in WORK, a fresh copy of CASE, with the arguments in
# CASE/args (else "bmemlog.log"). What it prints on standard output, then
# "--- stderr" and what it prints there, then "--- exit" and its exit code,
# must be CASE/expected.txt, with "\n" for each line end (a Windows runtime
# writes "\r\n"); each file of CASE/written/ must be the file of that name
# that the run wrote. A run that differs is kept in WORK.txt.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(COPY "${CASE}/" DESTINATION "${WORK}" PATTERN written EXCLUDE)
set(args bmemlog.log)
if(EXISTS "${CASE}/args")
  file(READ "${CASE}/args" words)
  string(REGEX MATCHALL "[^ \t\r\n]+" args "${words}")
endif()
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} "${PROGRAM}" ${args}
  WORKING_DIRECTORY "${WORK}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE code)
string(REPLACE "\r\n" "\n" run "${out}--- stderr\n${err}--- exit ${code}\n")
file(READ "${CASE}/expected.txt" expected)
if(NOT "${run}" STREQUAL "${expected}")
  file(WRITE "${WORK}.txt" "${run}")
  message("The run gave:\n${run}")
  message(SEND_ERROR "The run (${WORK}.txt) differs from ${CASE}/expected.txt")
endif()

file(GLOB written RELATIVE "${CASE}/written" "${CASE}/written/*")
foreach(name IN LISTS written)
  file(READ "${CASE}/written/${name}" want)
  set(got "(no file)")
  if(EXISTS "${WORK}/${name}")
    file(READ "${WORK}/${name}" got)
  endif()
  if(NOT "${got}" STREQUAL "${want}")
    message(SEND_ERROR "The run wrote ${WORK}/${name}, which differs from "
      "${CASE}/written/${name}")
  endif()
endforeach()
