# Start-up with missing or damaged art and sound files, and without a display.
add_test(NAME startup_failures
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/xvfb.sh bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/startup_failures.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:riverduel>)
set_tests_properties(startup_failures PROPERTIES TIMEOUT 600)

# The damaged-file corpus and the decoders' agreement with the library, on their own so that
# the sanitized build runs them too (ctest -L sanitize).
add_test(NAME files_corpus COMMAND $<TARGET_FILE:unit_tests> --gtest_filter=File*)
set_tests_properties(files_corpus PROPERTIES LABELS sanitize TIMEOUT 900
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} ENVIRONMENT "DISPLAY=")

# Each decoder fuzzed for a fixed time, built with clang's libFuzzer in a project of its own.
add_test(NAME files_fuzz COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fuzz.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} 8)
set_tests_properties(files_fuzz PROPERTIES TIMEOUT 900)
