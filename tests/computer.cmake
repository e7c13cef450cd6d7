# The computer rider: a game against it, the demo of it against itself, a short headless
# tournament (the full one, a round robin of the levels, is bench/tournament, quoted in
# docs/computer.md), and a recorded game against each level.
foreach(script computer demo)
  add_test(NAME e2e_${script}
    COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh
            ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
  set_tests_properties(e2e_${script} PROPERTIES TIMEOUT 420)
endforeach()
set_tests_properties(e2e_demo PROPERTIES TIMEOUT 600)
# The window's games against the computer take their time (up to minutes): the sanitized run
# has the tournament's games and a recorded game against each level instead.
add_test(NAME computer_tournament COMMAND tournament 6 1000)
# A recorded game against each level verifies to its line with --verify.
add_executable(computer_games tools/computer_games.cpp)
target_link_libraries(computer_games PRIVATE riverduel_core)
add_test(NAME computer_levels_verify
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/computer_levels.sh ${CMAKE_BINARY_DIR})
set_tests_properties(computer_levels_verify PROPERTIES TIMEOUT 120 LABELS sanitize)
set_tests_properties(computer_tournament PROPERTIES TIMEOUT 300 LABELS sanitize)
