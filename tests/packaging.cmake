# The desktop entry, the AppStream metadata and the manual page pass their validators; the
# Debian package installs into a scratch root and the game starts from it.
add_test(NAME desktop_file_valid
  COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/io.github.riverduel.riverduel.desktop)
add_test(NAME metainfo_valid
  COMMAND appstreamcli validate --no-net --pedantic
    ${CMAKE_BINARY_DIR}/packaging/io.github.riverduel.riverduel.metainfo.xml)
add_test(NAME man_page_valid
  COMMAND sh -c "out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \"$1\" 2>&1 >/dev/null); [ -z \"$out\" ] || { echo \"$out\"; exit 1; }"
    sh ${CMAKE_SOURCE_DIR}/packaging/riverduel.6)
add_test(NAME package_deb
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package_deb PROPERTIES TIMEOUT 900)
