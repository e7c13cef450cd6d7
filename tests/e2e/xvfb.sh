#!/usr/bin/env bash
# Runs a command on its own virtual X server, its screen 1024 x 768 unless XVFB_SCREEN gives
# another size (WIDTHxHEIGHT); XVFB_ARGS are more of the server's options. The display number starts at a random place, so a test never
# gets the number of a server that the previous test is still closing; the server's own
# messages go to standard error, where a failing test shows them.
exec xvfb-run -a -n $((100 + RANDOM % 800)) -e /dev/stderr -s "-screen 0 ${XVFB_SCREEN:-1024x768}x24 ${XVFB_ARGS:-}" "$@"
