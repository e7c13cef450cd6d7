# Recorded games: the reader, the writer and the replay without a window, recordings made by
# the real program under load, what the real program does with places that cannot take a
# recording and with a game killed mid-way, and the pinned games whose outcome must never
# change by accident.
file(GLOB HEADLESS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/headless/*.cpp)
add_executable(headless_tests ${HEADLESS_TEST_SOURCES})
target_link_libraries(headless_tests PRIVATE riverduel_core GTest::gtest)
target_precompile_headers(headless_tests PRIVATE ${TEST_PRECOMPILED})
target_compile_definitions(headless_tests PRIVATE RIVERDUEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME headless COMMAND headless_tests)
set_tests_properties(headless PROPERTIES TIMEOUT 600 LABELS sanitize)

add_executable(random_games tools/random_games.cpp)
target_link_libraries(random_games PRIVATE riverduel_core)

add_test(NAME e2e_record_under_load
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/record_under_load.sh ${CMAKE_BINARY_DIR})
# Not again sanitized: there the game is always slow, and the recorder's paths run sanitized in
# the replay, the random play, the online duel and the headless recording tests.
set_tests_properties(e2e_record_under_load PROPERTIES TIMEOUT 300)
add_test(NAME e2e_replay
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/replay.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask>)
set_tests_properties(e2e_replay PROPERTIES TIMEOUT 180 LABELS sanitize)
add_test(NAME e2e_record_safety
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/record_safety.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_record_safety PROPERTIES TIMEOUT 120)

# The rollback check from the command line: the same line as a plain --verify for a whole game
# stepped again 8 passes at every pass.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/games/long_river.line LONG_RIVER_LINE)
string(STRIP "${LONG_RIVER_LINE}" LONG_RIVER_LINE)
add_test(NAME rollback_check_cli
  COMMAND $<TARGET_FILE:riverduel> --verify ${CMAKE_CURRENT_SOURCE_DIR}/games/long_river.rdr --rollback-check 8)
set_tests_properties(rollback_check_cli PROPERTIES TIMEOUT 60 LABELS sanitize
  PASS_REGULAR_EXPRESSION "^${LONG_RIVER_LINE}\n$")
