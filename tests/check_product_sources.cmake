# Run by ctest as "ProductSources": the folders the programs are built from
# hold no screenshot or benchmark program and no stand-in for a service or
# the canvas, and include nothing of testing/ or tools/, so that no program
# can come to depend on a fake. The fuzz properties may use the fakes.
set(product_dirs textio platform model engine print viewer predict shell dialogs editor packaging)
set(fakes RecordingMessages ScriptedFileDialogs RecordingHelpViewer ScriptedProcesses MemorySettings
          RecordingCanvas)
string(JOIN "|" fake_pattern ${fakes})
set(faults "")
foreach(dir ${product_dirs})
  file(GLOB_RECURSE files ${SOURCE_DIR}/${dir}/*.cpp ${SOURCE_DIR}/${dir}/*.hpp)
  foreach(f ${files})
    file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
    get_filename_component(name ${f} NAME)
    if(name MATCHES "^(shot|bench)_")
      list(APPEND faults "${rel}: a screenshot or benchmark program (its place is tools/)")
    endif()
    file(STRINGS ${f} lines REGEX "^(class|struct) (${fake_pattern})[ :{]|#include \"(testing|tools)/")
    foreach(line ${lines})
      list(APPEND faults "${rel}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(faults)
  string(JOIN "\n  " text ${faults})
  message(FATAL_ERROR "product sources that belong to the tests or the tools:\n  ${text}")
endif()
message(STATUS "product sources: no fake, no tool")
