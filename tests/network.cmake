# Two copies of the game playing each other over this machine's loopback, with the faults a
# network brings.
add_test(NAME e2e_online_duel
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/online_duel.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_online_duel PROPERTIES TIMEOUT 240 LABELS sanitize)

# Two headless sides through a proxy that delays (50 ms each way, +-10), jitters and drops 5%
# of the datagrams each way, guessing each other's keys and taking wrong guesses back: they
# must play the same games to the same states, the last one left with ESC at a pass both
# agree on. The passes stepped again, how long the passes stalled and the bytes sent are
# printed, not judged here (bench/net_duel for that).
add_test(NAME network_proxy_no_drift
  COMMAND $<TARGET_FILE:net_duel> --seconds 30 --delay 50 --jitter 10 --loss 0.05 --seed 11)
set_tests_properties(network_proxy_no_drift PROPERTIES TIMEOUT 120 LABELS sanitize)
