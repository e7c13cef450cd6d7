# Larger screens: the full screen on a 1920 x 1080 and a 3840 x 2160 desktop, and a window of
# twice the size.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
add_executable(icon_size e2e/icon_size.cpp)
target_link_libraries(icon_size PRIVATE PkgConfig::X11)
foreach(size 1920x1080 3840x2160)
  add_test(NAME e2e_screens_fullscreen_${size}
    COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=${size}
            ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screens.sh
            ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> fullscreen $<TARGET_FILE:icon_size>)
  set_tests_properties(e2e_screens_fullscreen_${size} PROPERTIES TIMEOUT 120)
endforeach()
add_test(NAME e2e_screens_scale2
  COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=1920x1280
          ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screens.sh
          ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> scale2 $<TARGET_FILE:icon_size>)
set_tests_properties(e2e_screens_scale2 PROPERTIES TIMEOUT 120)
# An X server without RENDER cannot scale the picture itself: the game scales it.
add_test(NAME e2e_screens_scale2_without_render
  COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=1920x1280 "XVFB_ARGS=-extension RENDER"
          ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screens.sh
          ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> scale2 $<TARGET_FILE:icon_size>)
set_tests_properties(e2e_screens_scale2_without_render PROPERTIES TIMEOUT 120)
add_test(NAME e2e_screens_refused
  COMMAND ${CMAKE_COMMAND} -E env XVFB_SCREEN=1920x1080
          ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screens.sh
          ${CMAKE_BINARY_DIR} $<TARGET_FILE:text_mask> refused $<TARGET_FILE:icon_size>)
set_tests_properties(e2e_screens_refused PROPERTIES TIMEOUT 120)
