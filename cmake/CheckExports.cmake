# Compares the names a built library exports with the checked-in list.
#   cmake -DLIBRARY=<file> -DLIST=<file> [-DKIND=elf|pe] [-DOBJDUMP=..]
#         [-DCXXFILT=..] [-DNM=..] -P CheckExports.cmake
# ELF: the defined dynamic symbols from `nm -D --defined-only -C`.
# PE: the export table from `objdump -p`, demangled with c++filt; the
# Windows spelling of the module handle (HINSTANCE__*) reads as void*, and
# on ELF the x86-64 va_list (__va_list_tag*) as char*.
if(NOT KIND)
  set(KIND elf)
endif()
if(NOT NM)
  set(NM nm)
endif()

file(STRINGS "${LIST}" expected_lines)
set(expected "")
foreach(line IN LISTS expected_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  list(APPEND expected "${line}")
endforeach()

set(actual "")
if(KIND STREQUAL "elf")
  execute_process(COMMAND ${NM} -D --defined-only -C "${LIBRARY}"
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
  endif()
  string(REPLACE "\n" ";" lines "${out}")
  foreach(line IN LISTS lines)
    # "<address> <type> <name>"
    if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.+)$")
      set(name "${CMAKE_MATCH_1}")
      # Linker-made markers and version nodes are not our names.
      if(name MATCHES "^(_init|_fini|_edata|_end|__bss_start)$")
        continue()
      endif()
      # x86-64's va_list reads as char*, its spelling on the other targets.
      string(REPLACE "__va_list_tag*" "char*" name "${name}")
      list(APPEND actual "${name}")
    endif()
  endforeach()
else()
  execute_process(COMMAND ${OBJDUMP} -p "${LIBRARY}"
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${LIBRARY}")
  endif()
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(.*)" table "${out}")
  set(table "${CMAKE_MATCH_1}")
  string(REPLACE "\n" ";" lines "${table}")
  set(mangled "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*\\[[ 0-9]+\\] ([^ \t]+)")
      list(APPEND mangled "${CMAKE_MATCH_1}")
    elseif(NOT line MATCHES "^[ \t]*$")
      break()
    endif()
  endforeach()
  foreach(name IN LISTS mangled)
    execute_process(COMMAND ${CXXFILT} "${name}" OUTPUT_VARIABLE demangled
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REPLACE "HINSTANCE__*" "void*" demangled "${demangled}")
    list(APPEND actual "${demangled}")
  endforeach()
endif()

list(REMOVE_DUPLICATES actual)
list(SORT actual)
list(SORT expected)
set(missing "${expected}")
if(actual)
  list(REMOVE_ITEM missing ${actual})
endif()
set(extra "${actual}")
if(expected)
  list(REMOVE_ITEM extra ${expected})
endif()
if(missing OR extra)
  string(REPLACE ";" "\n  " missing_text "${missing}")
  string(REPLACE ";" "\n  " extra_text "${extra}")
  message(FATAL_ERROR
    "Exported names differ from ${LIST}\n"
    "Listed but not exported:\n  ${missing_text}\n"
    "Exported but not listed:\n  ${extra_text}\n")
endif()
list(LENGTH actual n)
message(STATUS "All ${n} exported names match ${LIST}")
