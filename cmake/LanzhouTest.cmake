# lanzhou_add_test(NAME SOURCES... LIBS libs...): one GoogleTest executable, one CTest entry per test.
include(GoogleTest)
function(lanzhou_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # gtest_discover_tests (CMake 3.25) keeps only the first entry of a list
  # property, so the tree's locations are compiled in as well.
  target_compile_definitions(${name} PRIVATE LANZHOU_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LANZHOU_TEST_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANZHOU_SOURCE_DIR=${PROJECT_SOURCE_DIR};LANZHOU_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()
