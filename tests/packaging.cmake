# The desktop entry, the AppStream metadata and the manual page pass their validators. The
# Debian package is made once (the package fixture), then checked: its contents and the game
# started from it, lintian and the hardening, and a second checkout's build that must match it.
add_test(NAME desktop_file_valid
  COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/io.github.riverduel.riverduel.desktop)
add_test(NAME metainfo_valid
  COMMAND appstreamcli validate --no-net --pedantic
    ${CMAKE_BINARY_DIR}/packaging/io.github.riverduel.riverduel.metainfo.xml)
add_test(NAME man_page_valid
  COMMAND sh -c "out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \"$1\" 2>&1 >/dev/null); [ -z \"$out\" ] || { echo \"$out\"; exit 1; }"
    sh ${CMAKE_SOURCE_DIR}/packaging/riverduel.6)

add_test(NAME package_build
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package_build.sh ${CMAKE_BINARY_DIR})
add_test(NAME package_deb
  COMMAND ${XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package.sh ${CMAKE_BINARY_DIR})
add_test(NAME package_lintian
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package_lint.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package_build PROPERTIES TIMEOUT 900 FIXTURES_SETUP package)
set_tests_properties(package_deb package_lintian PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED package)

# A second checkout built afresh packs the same .deb as the suite's build.
add_test(NAME package_reproducible
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package_reproducible.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(package_reproducible PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED package)
