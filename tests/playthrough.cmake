add_executable(text_mask e2e/text_mask.cpp)
target_link_libraries(text_mask PRIVATE PkgConfig::ALLEGRO)

foreach(loser 0 1)
  add_test(NAME e2e_playthrough_loser${loser}
    COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/playthrough.sh
            ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> ${loser})
  set_tests_properties(e2e_playthrough_loser${loser} PROPERTIES TIMEOUT 180)
endforeach()
# One of the two (they differ only in the side that loses) against the sanitized game.
set_tests_properties(e2e_playthrough_loser0 PROPERTIES LABELS sanitize)
add_test(NAME e2e_random_play
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/random_play.sh ${CMAKE_BINARY_DIR} 4)
set_tests_properties(e2e_random_play PROPERTIES TIMEOUT 240 LABELS sanitize)

# The first play-through once more under memcheck: no memory error, nothing definitely lost.
add_test(NAME e2e_playthrough_memcheck
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/playthrough.sh
          ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> 0)
set_tests_properties(e2e_playthrough_memcheck PROPERTIES TIMEOUT 600
  ENVIRONMENT "MENU_TIMEOUT=180;GAME_WRAPPER=valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite --suppressions=${CMAKE_CURRENT_SOURCE_DIR}/e2e/valgrind.supp")
