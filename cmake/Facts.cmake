# The menu's shared facts (launcher/menu.facts) as a generated header, facts/menu_facts.h: each
# NAME='value' becomes FACT_NAME, a string literal, or a bare number list for numbers.
set(FACTS_FILE ${CMAKE_SOURCE_DIR}/launcher/menu.facts)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${FACTS_FILE})
file(STRINGS ${FACTS_FILE} fact_lines REGEX "^[A-Z_]+=")
set(header "// Made by cmake/Facts.cmake from launcher/menu.facts; edit that file instead.\n#pragma once\n")
foreach(line IN LISTS fact_lines)
  string(REGEX MATCH "^([A-Z_]+)=(.*)$" _ "${line}")
  set(name ${CMAKE_MATCH_1})
  set(value ${CMAKE_MATCH_2})
  string(REGEX REPLACE "^'(.*)'$" "\\1" value "${value}")
  set(FACT_${name} "${value}")
  if(value MATCHES "^[0-9 ]+$")
    string(REPLACE " " ", " value "${value}")
  else()
    string(REPLACE "\\" "\\\\" value "${value}")
    set(value "\"${value}\"")
  endif()
  string(APPEND header "#define FACT_${name} ${value}\n")
endforeach()
# Written only when it changes, so that nothing rebuilds for a reconfigure alone.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/facts/menu_facts.h CONTENT "${header}"
     @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
