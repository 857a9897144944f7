# Run by ctest as "Layering": cmake -DSOURCE_DIR=... -P check_layering.cmake.
# Fails when a product folder includes an engine header, when the engine
# includes a section-model header, or when rules/ includes anything of the
# project but rules/ itself or any Qt header. The engine is reached only as
# a program (SETLCORE) and through rules/; fuzz/ and tests/ drive it directly.
set(product_dirs rules textio platform model print viewer predict shell dialogs editor)
set(faults "")

function(scan dir pattern why)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${dir}/*.cpp ${SOURCE_DIR}/${dir}/*.hpp ${SOURCE_DIR}/${dir}/*.h)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${lines})
      if(line MATCHES "${pattern}")
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
        list(APPEND faults "${rel}: ${line} (${why})")
      endif()
    endforeach()
  endforeach()
  set(faults ${faults} PARENT_SCOPE)
endfunction()

foreach(dir ${product_dirs})
  scan(${dir} "[<\"]engine/" "only fuzz/ and tests/ include the engine")
endforeach()
scan(engine "[<\"]model/" "the engine takes shared rules from rules/")
scan(rules "[<\"](textio|platform|model|engine|print|viewer|predict|shell|dialogs|editor|fuzz)/" "rules/ is the bottom layer")
scan(rules "[<\"]Q" "rules/ knows no Qt")

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "layering broken:\n  ${text}")
endif()
message(STATUS "layering holds")
