# The front door: short clicks, windows that fit, --comfort's menu, pause and settings.
add_test(NAME e2e_short_click
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/short_click.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_short_click PROPERTIES TIMEOUT 120)
add_test(NAME e2e_scale_fits
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/scale_fits.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_scale_fits PROPERTIES TIMEOUT 60)
foreach(name comfort_menu comfort_settings)
  add_test(NAME e2e_${name}
    COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${name}.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 180)
endforeach()
add_test(NAME translations COMMAND msgfmt --check -o /dev/null ${CMAKE_SOURCE_DIR}/po/sk.po)
add_test(NAME readme_short COMMAND sh -c "test $(wc -w < ${CMAKE_SOURCE_DIR}/README.md) -le 1500")
