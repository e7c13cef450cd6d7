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
  COMMAND $<TARGET_FILE:net_duel> --seconds 15 --delay 50 --jitter 10 --loss 0.05 --seed 11)
set_tests_properties(network_proxy_no_drift PROPERTIES TIMEOUT 120 LABELS sanitize)

# The host behind a home router made of network namespaces, with and without miniupnpd:
# the address to give a friend, the friend joining through it, the mapping gone after the
# host; then fake devices on the home network that answer endlessly, slowly, by the thousand
# or with a reserved outside address. Needs root and python3.
add_test(NAME e2e_router_lab
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/router_lab.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_router_lab PROPERTIES TIMEOUT 180)

# Two online games watched by spectators, one of which freezes midway, against the same games
# unwatched: the riders' results and stalls are the same, and the spectator that watched saw
# exactly their games, a second or two behind.
add_executable(watch_test watch/watch_test.cpp)
target_link_libraries(watch_test PRIVATE riverduel_core)
add_test(NAME network_spectators COMMAND watch_test)
set_tests_properties(network_spectators PROPERTIES TIMEOUT 240 LABELS sanitize)

# Two spectators in the window, one killed midway: the other hears the game and shows its
# end screen, and the riders' recordings agree.
add_test(NAME e2e_spectators
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/watch.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_spectators PROPERTIES TIMEOUT 180)

# Hostile machines against the host, on loopback: strangers that never greet, half-open
# connects and connection requests from one address or eight, silent and deaf spectators,
# floods of junk, forged datagrams from the partner's address, a server that never answers, a
# start that cannot be. One binary, a few seconds a case.
add_executable(network_hostile_tests network/hostile_test.cpp)
target_link_libraries(network_hostile_tests PRIVATE riverduel_core GTest::gtest_main)
# Most cases wait on the host's timeouts and run beside anything; the flood keeps the processor
# busy and runs as the busy tests do.
add_test(NAME network_hostile COMMAND network_hostile_tests --gtest_filter=-*Flood*)
add_test(NAME network_flood COMMAND network_hostile_tests --gtest_filter=*Flood*)
set_tests_properties(network_hostile network_flood PROPERTIES TIMEOUT 120 LABELS sanitize)
set_tests_properties(network_hostile PROPERTIES COST 30)
