# SIGTERM and SIGINT, many times over, in the menu and in a game, and SIGKILL.
add_test(NAME e2e_stop_signals
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/stop_signals.sh ${CMAKE_BINARY_DIR} 3)
set_tests_properties(e2e_stop_signals PROPERTIES TIMEOUT 600)
