# kova_library(NAME dir [QT] DEPS ...): one static library from all sources of a folder.
function(kova_library name)
  cmake_parse_arguments(K "QT" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex ${K_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "/${ex}$")
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${K_DEPS})
  if(K_QT)
    target_link_libraries(${name} PUBLIC Qt6::Widgets)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# kova_test(NAME [QT] DEPS ...): one GoogleTest executable from all tests of a
# folder. Its tests carry the label of the executable without "_tests"
# (engine_tests: "engine"), "gui" with QT, and what kova_test_labels adds.
function(kova_test name)
  cmake_parse_arguments(K "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${K_DEPS} kova_testing GTest::gtest GTest::gtest_main)
  if(K_QT)
    target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_compile_definitions(${name} PRIVATE
    KOVA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    KOVA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  # Every test has a limit, so that a box opened by mistake fails the test
  # instead of hanging the run; under the sanitizers the viewer's page
  # painting alone takes over a minute, so the limit is wider there.
  if(KOVA_SANITIZE)
    set(timeout 300)
  else()
    set(timeout 120)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${timeout})

  # The test names are known only once the executable has listed them, so the
  # labels are set by a file that ctest reads after the discovered tests.
  string(REGEX REPLACE "_tests$" "" folder_label ${name})
  set(labels ${folder_label})
  if(K_QT)
    list(APPEND labels gui)
  endif()
  set_property(TARGET ${name} PROPERTY KOVA_LABELS ${labels})
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
  file(GENERATE OUTPUT ${include_file} CONTENT
"set(labels \"$<TARGET_PROPERTY:${name},KOVA_LABELS>\")
set(rules \"$<TARGET_PROPERTY:${name},KOVA_LABEL_RULES>\")
foreach(test IN LISTS ${name}_TESTS)
  set(test_labels \${labels})
  set(rest \${rules})
  while(rest)
    list(POP_FRONT rest label pattern)
    string(REGEX REPLACE \"[*]$\" \"\" prefix \"\${pattern}\")
    string(FIND \"\${test}\" \"\${prefix}\" at)
    if(test STREQUAL pattern OR (NOT prefix STREQUAL pattern AND at EQUAL 0))
      list(APPEND test_labels \${label})
    endif()
  endwhile()
  set_tests_properties(\${test} PROPERTIES LABELS \"\${test_labels}\")
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# kova_test_labels(NAME LABEL TEST...): adds LABEL to the named tests of the
# executable NAME; a name ending in "*" stands for every test it begins
# (EngineIdentity.* is the whole suite).
function(kova_test_labels name label)
  foreach(test ${ARGN})
    set_property(TARGET ${name} APPEND PROPERTY KOVA_LABEL_RULES ${label} ${test})
  endforeach()
endfunction()
