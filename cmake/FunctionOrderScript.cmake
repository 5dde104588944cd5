# cmake -DORDER=function-order.txt -DSCRIPT=out.ld -P FunctionOrderScript.cmake
#
# Writes a GNU ld script that gathers the code of the functions ORDER lists, in its order, into an
# output section of its own ahead of the rest of the program's code. Each function has a section
# of its own (.text.NAME, compiled with -ffunction-sections); names that are not plain symbols
# (the profiler's "(below main)") are passed over, and a name the program lacks matches nothing,
# so a stale list costs pages, never a build.
file(STRINGS "${ORDER}" listed)
# A function the profiler saw only inside its own recursion is listed as NAME'2.
set(names "")
foreach(name IN LISTS listed)
  string(REGEX REPLACE "'[0-9]+$" "" name "${name}")
  list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
set(body "")
foreach(name IN LISTS names)
  if(NOT name MATCHES "^[A-Za-z0-9_.$]+$")
    continue()
  endif()
  string(APPEND body "    *(.text.${name})\n")
  # Start-up code (static initialisers, main) has sections of its own kind.
  if(name MATCHES "^_GLOBAL__sub_I_|^main$")
    string(APPEND body "    *(.text.startup.${name})\n")
  endif()
  # A complete-object constructor or destructor is an alias of the base-object one, in whose
  # section its code lies.
  if(name MATCHES "C1[EI]|D1E")
    string(REGEX REPLACE "C1([EI])" "C2\\1" base "${name}")
    string(REPLACE "D1E" "D2E" base "${base}")
    string(APPEND body "    *(.text.${base})\n")
  endif()
endforeach()
file(WRITE "${SCRIPT}.tmp" "SECTIONS\n{\n  .text.ordered :\n  {\n${body}  }\n}\nINSERT BEFORE .text;\n")
file(RENAME "${SCRIPT}.tmp" "${SCRIPT}")
