# Helpers that give every target of the project the same language level,
# warnings and symbol visibility, so no directory-wide flags are needed.

add_library(tavrin_warnings INTERFACE)
target_compile_options(tavrin_warnings INTERFACE
  $<$<OR:$<COMPILE_LANG_AND_ID:CXX,GNU,Clang>,$<COMPILE_LANG_AND_ID:C,GNU,Clang>>:-Wall -Wextra -Wpedantic>)

# Sets the common properties of a project target.
function(tavrin_target_defaults target)
  target_compile_features(${target} PRIVATE cxx_std_20)
  target_link_libraries(${target} PRIVATE tavrin_warnings)
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
endfunction()

# A GoogleTest executable registered with CTest.
function(tavrin_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tavrin_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
