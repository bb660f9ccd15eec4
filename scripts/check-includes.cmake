# Checks the include rule of the core (docs/architecture.md) on the #include lines:
#   common: nothing of ours; ports: common; state: ports, common;
#   link, device: state and below; diag, timing, hexdump: link, device and below;
#   recorder: diag, timing, hexdump and below; app: anything in core.
# Outside core/app only src/gui, src/cli, bench and fuzz include core/app (tests may).
#
#   cmake -P scripts/check-includes.cmake               check the tree
#   cmake -DSELFTEST=ON -P scripts/check-includes.cmake check the rule itself on known cases
# Both run as CTest tests with the label "layering".
cmake_minimum_required(VERSION 3.22)
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# What each folder of src/core may include besides itself. A new folder needs a line here.
set(allowed_common "")
set(allowed_ports common)
set(allowed_state ports common)
set(allowed_link state ports common)
set(allowed_device state ports common)
set(allowed_diag link device state ports common)
set(allowed_timing link device state ports common)
set(allowed_hexdump link device state ports common)
set(allowed_recorder diag timing hexdump link device state ports common)
set(allowed_app app recorder diag timing hexdump link device state ports common)
set(folders common ports state link device diag timing hexdump recorder app)

# Sets <out> to an empty string when a file in core/<from> may include core/<to>, else to why not.
function(rule from to out)
  if(NOT from IN_LIST folders)
    set(${out} "core/${from} has no place in the rule (scripts/check-includes.cmake)" PARENT_SCOPE)
  elseif(from STREQUAL to OR to IN_LIST allowed_${from})
    set(${out} "" PARENT_SCOPE)
  else()
    set(${out} "core/${from} may not include core/${to}" PARENT_SCOPE)
  endif()
endfunction()

# The same for a file outside src/core, named by its path from the top of the tree.
function(rule_outside path to out)
  set(${out} "" PARENT_SCOPE)
  if(to STREQUAL "app" AND NOT path MATCHES "^(src/gui|src/cli|bench|fuzz|tests)/")
    set(${out} "only src/gui, src/cli, bench, fuzz and tests include core/app" PARENT_SCOPE)
  endif()
endfunction()

if(SELFTEST)
  # Runs a rule function over "from|to|allowed" cases; a wrong decision is added to errors.
  macro(check_cases function case_list)
    foreach(case IN LISTS ${case_list})
      string(REPLACE "|" ";" parts "${case}")
      list(GET parts 0 from)
      list(GET parts 1 to)
      list(GET parts 2 expected)
      cmake_language(CALL ${function} ${from} ${to} why)
      if((expected AND why) OR (NOT expected AND NOT why))
        string(APPEND errors "  ${from} -> ${to}: expected allowed=${expected}, got '${why}'\n")
      endif()
    endforeach()
  endmacro()
  # from | to | allowed
  set(cases
      "common|common|1" "common|ports|0" "common|state|0"
      "ports|common|1" "ports|state|0" "ports|link|0"
      "state|ports|1" "state|common|1" "state|link|0" "state|recorder|0" "state|app|0"
      "link|state|1" "link|device|0" "link|recorder|0" "link|app|0"
      "device|ports|1" "device|link|0" "device|timing|0"
      "diag|link|1" "diag|device|1" "diag|timing|0" "diag|hexdump|0" "diag|recorder|0"
      "timing|link|1" "timing|diag|0" "hexdump|device|1" "hexdump|timing|0"
      "recorder|timing|1" "recorder|hexdump|1" "recorder|state|1" "recorder|app|0"
      "app|recorder|1" "app|common|1"
      "newfolder|common|0")
  set(errors "")
  check_cases(rule cases)
  # path | to | allowed
  set(outside_cases
      "src/gui/MainWindow.hpp|app|1" "src/cli/CliSession.hpp|app|1" "bench/ScanBench.cpp|app|1"
      "fuzz/targets/HeadlessProgramm.hpp|app|1" "tests/core/app/MainFormTest.cpp|app|1"
      "src/platform/IniFileProfile.cpp|app|0" "src/sim/main.cpp|app|0"
      "resources/picgen/PictureSet.hpp|app|0" "src/guix/Foo.cpp|app|0"
      "src/platform/IniFileProfile.cpp|state|1")
  check_cases(rule_outside outside_cases)
  if(errors)
    message(FATAL_ERROR "The include rule decides wrongly:\n${errors}")
  endif()
  return()
endif()

set(errors "")
set(seen 0)

# src/core: every quoted include is written from src ("core/..."), so each one is seen here.
file(GLOB_RECURSE files RELATIVE "${root}/src/core" "${root}/src/core/*.hpp" "${root}/src/core/*.cpp"
     "${root}/src/core/*.h")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" from "${file}")
  if(from STREQUAL file)
    string(APPEND errors "  src/core/${file}: belongs in a folder\n")
    continue()
  endif()
  file(STRINGS "${root}/src/core/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"core/([^/\"]+)/")
      math(EXPR seen "${seen} + 1")
      rule(${from} ${CMAKE_MATCH_1} why)
    else()
      set(why "write the include from src (\"core/...\") so this check sees it")
    endif()
    if(why)
      string(APPEND errors "  src/core/${file}: ${line}: ${why}\n")
    endif()
  endforeach()
endforeach()
if(seen EQUAL 0)
  message(FATAL_ERROR "No include lines found under ${root}/src/core")
endif()

# Everything else of the program and its tools: who includes core/app.
file(GLOB_RECURSE outside RELATIVE "${root}" "${root}/src/*.hpp" "${root}/src/*.cpp" "${root}/src/*.h"
     "${root}/resources/*.hpp" "${root}/resources/*.cpp" "${root}/resources/*.h")
foreach(file IN LISTS outside)
  if(file MATCHES "^src/core/")
    continue()
  endif()
  file(STRINGS "${root}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]core/app/")
  foreach(line IN LISTS lines)
    rule_outside(${file} app why)
    if(why)
      string(APPEND errors "  ${file}: ${line}: ${why}\n")
    endif()
  endforeach()
endforeach()

if(errors)
  message(FATAL_ERROR "Includes against the rule in docs/architecture.md:\n${errors}")
endif()
message(STATUS "${seen} core includes follow the rule")
