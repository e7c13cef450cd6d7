# Gamepads through the library's real Linux joystick driver: a preloaded library makes a FIFO
# answer as a pad, and the test plays a game with it; and --gamepads with no pad, or with a
# device that is no pad, starts and plays by keyboard.
add_library(fake_pad SHARED e2e/fake_pad.cpp)
target_link_libraries(fake_pad PRIVATE ${CMAKE_DL_LIBS})
foreach(device pads missing broken named)
  add_test(NAME e2e_gamepads_${device}
    COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gamepads.sh
            ${CMAKE_BINARY_DIR} $<TARGET_FILE:fake_pad> $<TARGET_FILE:text_mask> ${device})
  set_tests_properties(e2e_gamepads_${device} PROPERTIES TIMEOUT 120)
endforeach()
# The pad's events, well formed and broken, reach the sanitized game; the other two read no pad.
set_tests_properties(e2e_gamepads_pads e2e_gamepads_broken PROPERTIES LABELS sanitize)
