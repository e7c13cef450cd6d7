add_test(NAME e2e_music
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/music.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_music PROPERTIES TIMEOUT 120)

add_test(NAME e2e_volume
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/volume.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_volume PROPERTIES TIMEOUT 120)
