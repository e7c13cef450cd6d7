#!/usr/bin/env bash
# --record never loses a game or someone's file, as the real program does it: a FILE that
# cannot be recorded to ends the run at once with exit 2 and one line naming the problem and
# the system's reason; an existing FILE is left alone and the game goes to FILE's next free
# name; a game killed with kill -9 mid-way verifies as "unfinished" and replays to where it
# stops. The read-only and the full folder are small tmpfs mounts in a mount namespace of
# their own, so they vanish with it (the test runs as root, whom file modes do not stop).
# Usage: record_safety.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
game=$(cd "$build" && pwd)/riverduel

# In a mount namespace of its own: as root, or as a user mapped to root.
private_mounts() {
    if [ "$(id -u)" = 0 ]; then unshare -m "$@"; else unshare -rm "$@"; fi
}

mkdir "$tmp/ro" "$tmp/full" "$tmp/closed"
echo precious > "$tmp/victim"
ln -s victim "$tmp/link.rdr"
mknod "$tmp/null.rdr" c 1 3
chmod 711 "$tmp"; chmod 755 "$tmp/closed" # others may pass through, not write

# NAME | FILE | the one line on standard error | the command that runs the game
cases=(
    "a symbolic link at FILE|$tmp/link.rdr|it is a symbolic link, not a regular file, and a recording never replaces one|"
    "a device at FILE|$tmp/null.rdr|it is a device, not a regular file, and a recording never replaces one|"
    "a missing folder|$tmp/missing/game.rdr|cannot create a file in $tmp/missing: No such file or directory|"
    "a read-only folder|$tmp/ro/game.rdr|cannot create a file in $tmp/ro: Read-only file system|private_mounts sh -c 'mount -t tmpfs -o ro,size=64k none \"\$0\" && exec \"\$@\"' $tmp/ro"
    "a full disk|$tmp/full/game.rdr|cannot write in $tmp/full: No space left on device|private_mounts sh -c 'mount -t tmpfs -o size=4k none \"\$0\" && head -c 4096 /dev/zero > \"\$0/fill\" && exec \"\$@\"' $tmp/full"
    "a folder this user may not write in|$tmp/closed/game.rdr|cannot create a file in $tmp/closed: Permission denied|setpriv --reuid=65534 --regid=65534 --clear-groups"
)
for entry in "${cases[@]}"; do
    IFS='|' read -r name file expected wrapper <<<"$entry"
    rc=0
    eval "$wrapper timeout 10 \"\$game\" --record \"\$file\"" >"$tmp/out" 2>"$tmp/err" || rc=$?
    [ "$rc" -eq 2 ] || fail "$name: exit $rc, not 2 ($(cat "$tmp/err"))"
    [ "$(cat "$tmp/err")" = "riverduel: $file: $expected" ] || fail "$name: said '$(cat "$tmp/err")'"
    [ ! -s "$tmp/out" ] || fail "$name: printed '$(cat "$tmp/out")'"
done
[ "$(cat "$tmp/victim")" = precious ] && [ -L "$tmp/link.rdr" ] && [ -c "$tmp/null.rdr" ] ||
    fail "a refused FILE was changed"
[ -z "$(find "$tmp/ro" "$tmp/full" "$tmp/closed" -mindepth 1)" ] || fail "a refused run left a file behind"
pass "${#cases[@]} places that cannot take a recording are refused at once, with exit 2 and the reason"

# An existing FILE stays; the game left with ESC goes to game-2.rdr. The next game is killed.
echo mine > "$tmp/game.rdr"
start_game "$build" --record "$tmp/game.rdr"
click_at 200 120; mouse_to 790 590
sleep 1.5; press Escape
for _ in $(seq 50); do grep -q "game-2.rdr: " "$GAME_OUT" && break; sleep 0.1; done
verifies_as_played "$tmp/game-2.rdr" none
[ "$(cat "$tmp/game.rdr")" = mine ] || fail "the existing FILE was replaced"
pass "an existing FILE stays as it was; the game went to game-2.rdr and verifies to its line"

sleep 0.5; click_at 200 120; mouse_to 790 590
sleep 3
kill -9 "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""
rc=0; line=$("$game" --verify "$tmp/game.rdr.part") || rc=$?
[ "$rc" -eq 0 ] || fail "the killed game's file does not verify (exit $rc)"
case "$line" in
"winner none steps "*" unfinished") ;;
*) fail "the killed game verifies to '$line'" ;;
esac
steps=$(awk '{print $4}' <<<"$line")
[ "$steps" -ge 20 ] || fail "the killed game kept only $steps passes of about 60"
pass "a game killed mid-way verifies as '$line'"

launch "$build" --replay "$tmp/game.rdr.part"
wait_exit 20
[ "$GAME_RC" -eq 0 ] || fail "the replay of the killed game ended with $GAME_RC"
pass "the killed game replays to where it stops and ends with 0"

# A file-size limit of 150 bytes (the header and two seconds of passes): the write past it is
# reported at once, the game so far stays in FILE.part, and the game plays on (the limit's
# signal would have killed it). Its output goes through a pipe, which no file-size limit holds.
echo 'exec prlimit --fsize=150 "$@" > >(exec cat) 2>&1' >"$tmp/limited"
GAME_WRAPPER="bash $tmp/limited" start_game "$build" --record "$tmp/limit.rdr"
click_at 200 120; mouse_to 790 590
wait_line "$GAME_OUT" "File too large; the game so far stays in $tmp/limit.rdr.part" 20
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at the file-size limit"
line=$("$game" --verify "$tmp/limit.rdr.part") || fail "the game kept in limit.rdr.part does not verify"
case "$line" in *" unfinished") ;; *) fail "limit.rdr.part verifies to '$line'" ;; esac
pass "a file-size limit is reported at once and the game goes on; limit.rdr.part verifies as '$line'"
