# Two copies of the game playing each other over this machine's loopback, with the faults a
# network brings.
add_test(NAME e2e_online_duel
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/online_duel.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_online_duel PROPERTIES TIMEOUT 240 LABELS sanitize)
