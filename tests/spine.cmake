add_test(NAME e2e_menu_and_game
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/menu_and_game.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_menu_and_game PROPERTIES TIMEOUT 120 LABELS sanitize)

find_package(X11 REQUIRED)
add_executable(send_close e2e/send_close.cpp)
target_link_libraries(send_close PRIVATE X11::X11)
# Every end-to-end test's screenshots (lib.sh finds it in the build).
add_executable(screenshot e2e/screenshot.cpp)
target_link_libraries(screenshot PRIVATE X11::X11)
add_test(NAME e2e_close_button
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/close_button.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:send_close>)
set_tests_properties(e2e_close_button PROPERTIES TIMEOUT 120 LABELS sanitize)

# Pictures a second, the classic game against --smooth.
add_executable(picture_rate e2e/picture_rate.cpp)
target_link_libraries(picture_rate PRIVATE X11::X11)
add_test(NAME e2e_smooth
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/smooth.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:picture_rate>)
set_tests_properties(e2e_smooth PROPERTIES TIMEOUT 120)
