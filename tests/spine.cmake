add_test(NAME e2e_menu_and_game
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/menu_and_game.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_menu_and_game PROPERTIES TIMEOUT 120)
