# Two copies of the game playing each other over this machine's loopback, with the faults a
# network brings.
add_test(NAME e2e_online_duel
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/online_duel.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_online_duel PROPERTIES TIMEOUT 240 LABELS sanitize)

# Two headless sides through a proxy that delays (50 ms each way, +-10), jitters and drops 5%
# of the datagrams each way: they must play the same games to the same states. How long the
# passes stalled and the bytes sent are printed, not judged here (bench/net_duel for that).
add_test(NAME network_proxy_no_drift
  COMMAND $<TARGET_FILE:net_duel> --seconds 30 --delay 50 --jitter 10 --loss 0.05 --seed 11)
set_tests_properties(network_proxy_no_drift PROPERTIES TIMEOUT 120 LABELS sanitize)

# Hostile machines against the host, on loopback: strangers that never greet, half-open
# connects, floods of junk, forged datagrams from the partner's address, a server that never
# answers, a start that cannot be. One binary, a few seconds a case.
add_executable(network_hostile_tests network/hostile_test.cpp)
target_link_libraries(network_hostile_tests PRIVATE riverduel_core GTest::gtest_main)
add_test(NAME network_hostile COMMAND network_hostile_tests)
# The floods keep a processor busy for a few seconds.
set_tests_properties(network_hostile PROPERTIES TIMEOUT 120 RESOURCE_LOCK busy_processor COST 20 LABELS sanitize)
