# Start-up with missing or damaged art and sound files, and without a display.
add_test(NAME startup_failures
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/startup_failures.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:riverduel>)
set_tests_properties(startup_failures PROPERTIES TIMEOUT 600)
