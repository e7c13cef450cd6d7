# The Windows game beside a Linux build tree (RIVERDUEL_ASSETS_FROM) that drew its art and
# synthesised its sounds: they are copied, as is the icon the resource compiler embeds.
if(NOT RIVERDUEL_ASSETS_FROM)
  message(FATAL_ERROR "RIVERDUEL_ASSETS_FROM: a Linux build tree with bitmaps/, sound/ and icon/")
endif()
set(ICON ${CMAKE_BINARY_DIR}/icon/riverduel.ico)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/assets.stamp ${ICON}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${RIVERDUEL_ASSETS_FROM}/bitmaps ${CMAKE_BINARY_DIR}/bitmaps
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${RIVERDUEL_ASSETS_FROM}/sound ${CMAKE_BINARY_DIR}/sound
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
  COMMAND python3 ${CMAKE_SOURCE_DIR}/packaging/windows/icon.py ${ICON}
          ${RIVERDUEL_ASSETS_FROM}/icon/riverduel.bmp ${RIVERDUEL_ASSETS_FROM}/icon/riverduel-256.bmp
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/assets.stamp
  VERBATIM)
add_custom_target(assets DEPENDS ${CMAKE_BINARY_DIR}/assets.stamp)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/riverduel.rc.in ${CMAKE_BINARY_DIR}/riverduel.rc @ONLY)
target_sources(riverduel PRIVATE ${CMAKE_BINARY_DIR}/riverduel.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/riverduel.rc PROPERTIES OBJECT_DEPENDS ${ICON})
add_dependencies(riverduel assets)
# A windowed program: no console window of its own (app/console_windows.cpp finds the messages'
# way out).
target_link_options(riverduel PRIVATE -mwindows)
