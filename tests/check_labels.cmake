# Run by ctest as "TestLabels": every label that the README and the presets
# name selects tests, and "identity" selects the byte-identity check only, so
# a renamed test cannot silently drop out of a label.
# Built without windows (KOVA_GUI=OFF) there are no gui tests to select.
set(labels identity slow engine)
if(GUI)
  list(PREPEND labels gui)
endif()
foreach(label ${labels})
  execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${BUILD_DIR} -N -L "^${label}$"
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "ctest -N -L ${label} failed: ${out}")
  endif()
  string(REGEX MATCH "Total Tests: ([0-9]+)" total "${out}")
  if(NOT CMAKE_MATCH_1 GREATER 0)
    message(FATAL_ERROR "label ${label} selects no test")
  endif()
  if(label STREQUAL "identity")
    string(REGEX MATCHALL "Test +#[0-9]+: [^\n]+" tests "${out}")
    foreach(t ${tests})
      if(NOT t MATCHES ": EngineIdentity\\.")
        message(FATAL_ERROR "label identity holds a test that is not EngineIdentity: ${t}")
      endif()
    endforeach()
  endif()
  message(STATUS "${label}: ${CMAKE_MATCH_1} tests")
endforeach()
