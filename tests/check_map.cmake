# Run by ctest as "MapNamesExist":
#   cmake -DSOURCE_DIR=root -P check_map.cmake
#
# The map of the code (docs/architecture.md) and the README's layout name
# paths, files and code by name in backticks. Each must exist, so that a
# recipe sends a newcomer nowhere that is not there:
#  - a path with a "/" (a "*" as a wildcard) lies under SOURCE_DIR;
#  - a bare file name of a source or build file lies somewhere in the tree;
#  - a name of code (CamelCase, "A::B", a test "Suite.Case") occurs, each
#    part of it, in some source file.
# Names with a placeholder ("<k>", "$VAR", TARGET), absolute paths, install and
# build trees, and the old program's names the tables translate (the first
# column of a "| module |" table) are not checked.
cmake_minimum_required(VERSION 3.22)

set(sources "")
file(GLOB children LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(c IN LISTS children)
  if(c STREQUAL ".git" OR EXISTS ${SOURCE_DIR}/${c}/CMakeCache.txt OR NOT IS_DIRECTORY ${SOURCE_DIR}/${c})
    continue()
  endif()
  file(GLOB_RECURSE found ${SOURCE_DIR}/${c}/*.cpp ${SOURCE_DIR}/${c}/*.hpp ${SOURCE_DIR}/${c}/*.h
       ${SOURCE_DIR}/${c}/*.inl ${SOURCE_DIR}/${c}/*.cmake ${SOURCE_DIR}/${c}/CMakeLists.txt
       ${SOURCE_DIR}/${c}/*.sh ${SOURCE_DIR}/${c}/*.py)
  list(APPEND sources ${found})
endforeach()
file(GLOB top ${SOURCE_DIR}/*.txt ${SOURCE_DIR}/*.json)
list(APPEND sources ${top})
set(code "")
set(names "")
foreach(s IN LISTS sources)
  file(READ ${s} text)
  string(APPEND code "${text}\n")
  get_filename_component(n ${s} NAME)
  list(APPEND names ${n})
endforeach()

set(faults "")
foreach(doc docs/architecture.md README.md)
  file(READ ${SOURCE_DIR}/${doc} raw)
  string(REPLACE ";" "," raw "${raw}")
  string(REPLACE "[" "(" raw "${raw}")
  string(REPLACE "]" ")" raw "${raw}")
  string(REPLACE "\n" ";" lines "${raw}")
  set(text "")
  set(old FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^\\| *module *\\|")
      set(old TRUE)
    elseif(NOT line MATCHES "^\\|")
      set(old FALSE)
    elseif(old)
      string(REGEX REPLACE "^\\|[^|]*" "" line "${line}")
    endif()
    string(APPEND text "${line}\n")
  endforeach()
  string(REGEX MATCHALL "`[^`\n]+`" tokens "${text}")
  list(REMOVE_DUPLICATES tokens)
  foreach(t IN LISTS tokens)
    string(REGEX REPLACE "^`(.*)`$" "\\1" t "${t}")
    if(t MATCHES "[<>$]" OR t MATCHES "^[/.-]" OR t MATCHES " ")
      continue()
    endif()
    # "a/b.hpp/.cpp" names both; install and build trees are not sources.
    string(REGEX REPLACE "\\.([a-z]+)/\\.[a-z]+$" ".\\1" t "${t}")
    if(t MATCHES "^(build|share/|bin/|lib/)" OR t MATCHES "TARGET")
      continue()
    elseif(t MATCHES "^[A-Za-z0-9_.*-]+(/[A-Za-z0-9_.*-]*)+$")
      string(REGEX REPLACE "/$" "" p "${t}")
      if(p MATCHES "\\*")
        file(GLOB hit ${SOURCE_DIR}/${p})
        if(NOT hit)
          list(APPEND faults "${doc}: `${t}` matches no file")
        endif()
      elseif(NOT EXISTS ${SOURCE_DIR}/${p})
        list(APPEND faults "${doc}: `${t}` does not exist")
      endif()
    elseif(t MATCHES "^[A-Za-z0-9_]+\\.(cpp|hpp|h|inl|cmake|sh|py|json)$")
      if(NOT t IN_LIST names)
        list(APPEND faults "${doc}: no file is named `${t}`")
      endif()
    elseif(t MATCHES "^[A-Z][A-Za-z0-9_]*[a-z][A-Za-z0-9_]*((::|\\.)[A-Za-z_*][A-Za-z0-9_]*)*$")
      string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" parts "${t}")
      foreach(part IN LISTS parts)
        string(FIND "${code}" "${part}" at)
        if(at LESS 0)
          list(APPEND faults "${doc}: `${t}`: no source names ${part}")
          break()
        endif()
      endforeach()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "the map names what is not there:\n  ${text}")
endif()
message(STATUS "every path and name of the map exists")
