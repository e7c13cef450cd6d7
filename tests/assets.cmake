# The generated art and sounds come out the same, byte for byte, on every run.
add_test(NAME assets_deterministic
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/assets_deterministic.sh $<TARGET_FILE:riverduel_assets>)
set_tests_properties(assets_deterministic PROPERTIES TIMEOUT 300)
