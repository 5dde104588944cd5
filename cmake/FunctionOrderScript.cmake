# cmake -DORDER=function-order.txt -DSCRIPT=out.ld -P FunctionOrderScript.cmake
#
# Writes a GNU ld script that gathers the code of the functions ORDER lists, in its order, into an
# output section of its own ahead of the rest of the program's code. Each function has a section
# of its own (.text.NAME, compiled with -ffunction-sections); names that are not plain symbols
# (the profiler's "(below main)") are passed over, and a name the program lacks matches nothing,
# so a stale list costs pages, never a build.
file(STRINGS "${ORDER}" names)
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
endforeach()
file(WRITE "${SCRIPT}.tmp" "SECTIONS\n{\n  .text.ordered :\n  {\n${body}  }\n}\nINSERT BEFORE .text;\n")
file(RENAME "${SCRIPT}.tmp" "${SCRIPT}")
