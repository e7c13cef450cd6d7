#!/usr/bin/env bash
# Start-up with a missing or damaged art or sound file, or a FIFO or a huge file in its place,
# must end at once with the file message and exit code 1 (never a crash, never a wait), and say
# on standard error which file failed, why, and in which folder it looked; with every file in
# place the game must reach its menu; without a display it must say so and exit 1.
#
# Usage: xvfb.sh startup_failures.sh BUILD_DIR RIVERDUEL_BINARY
# Needs the generated art and sounds in BUILD_DIR/bitmaps and BUILD_DIR/sound.
. "$(dirname "$0")/lib.sh"
set +e # each check reads the game's exit status itself and counts the failures

build=${1:?build directory}
game=${2:?riverduel binary}

# The game's files, in loading order, from the list the tests share.
mapfile -t assets < <(grep -v '^#' "$(dirname "$0")/../assets.list")
bitmaps=() sounds=()
for f in "${assets[@]}"; do
    case $f in
        bitmaps/*) bitmaps+=("${f#bitmaps/}") ;;
        sound/*) sounds+=("${f#sound/}") ;;
    esac
done
((${#bitmaps[@]} == 18 && ${#sounds[@]} == 14)) || { echo "FAIL: tests/assets.list should name 18 pictures and 14 sounds"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

missing=0
for f in "${bitmaps[@]}"; do [[ -s $build/bitmaps/$f ]] || { echo "not generated: $build/bitmaps/$f"; missing=1; }; done
for f in "${sounds[@]}"; do [[ -s $build/sound/$f ]] || { echo "not generated: $build/sound/$f"; missing=1; }; done
if ((missing)); then
    echo "FAIL: the generated art and sounds are missing; build the 'assets' target first"
    exit 1
fi
[[ -x $game ]] || { echo "FAIL: no game binary at $game"; exit 1; }
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")

work=$tmp

# Allegro shows its messages with xmessage when it can find it, and prints them on stdout
# otherwise: a PATH with every usual command but xmessage lets the test read them.
mkdir "$work/bin"
declare -A seen=([xmessage]=1)
tools=()
for dir in /usr/bin /bin /usr/sbin; do
    [[ -d $dir ]] || continue
    for tool in "$dir"/*; do
        name=${tool##*/}
        [[ -n ${seen[$name]:-} ]] && continue
        seen[$name]=1
        tools+=("$tool")
    done
done
ln -s -t "$work/bin" -- "${tools[@]}" # one process: a link each would cost seconds
[[ -n ${DISPLAY:-} ]] || { echo "FAIL: run me on an X server (xvfb.sh)"; exit 1; }

fresh_tree() {
    rm -rf "$work/run"
    mkdir -p "$work/run"
    cp -r "$build/bitmaps" "$build/sound" "$work/run/"
}

# Runs the game in $dir (the prepared tree unless given) on the test's X server, ending it
# after $1 seconds. Leaves its standard output in $work/out, its standard error in $work/err
# and its exit status in $status.
run_game() {
    local limit=$1 dir=${2:-$work/run}
    (cd "$dir" && env PATH="$work/bin" timeout -s TERM "$limit" "$game") >"$work/out" 2>"$work/err" </dev/null
    status=$?
}

# expect_file_message WHAT FILE REASON [DIR]: start-up ends with the dialog's text and exit 1,
# and standard error names FILE, REASON and the folder the game was started in.
expect_file_message() {
    local what=$1 file=$2 reason=$3 dir=${4:-$work/run}
    run_game 10 "$dir"
    if ((status == 124)); then
        fail "$what: the game did not stop (reached the menu, or waits on the file?)"
    elif ((status != 1)); then
        fail "$what: exit status $status, expected 1"
    elif ! grep -q "Nastala chyba." "$work/out" ||
         ! grep -q "Skuste skontrolovat, ci su pristupne vsetky potrebne subory." "$work/out"; then
        fail "$what: the file message was not shown"
    elif ! grep -qF "cannot load ./$file: $reason" "$work/err"; then
        fail "$what: standard error does not say './$file: $reason'"
    elif ! grep -qF "looks for its files in $dir," "$work/err" || ! grep -qF "bitmaps/ and sound/" "$work/err"; then
        fail "$what: standard error does not name the folder $dir"
    else
        echo "ok: $what"
        return
    fi
    sed 's/^/    out | /' "$work/out" | head -20
    sed 's/^/    err | /' "$work/err" | head -20
}

# Each file missing in turn.
for f in "${bitmaps[@]}"; do
    fresh_tree
    rm "$work/run/bitmaps/$f"
    expect_file_message "bitmaps/$f missing" "bitmaps/$f" missing
done
for f in "${sounds[@]}"; do
    fresh_tree
    rm "$work/run/sound/$f"
    expect_file_message "sound/$f missing" "sound/$f" missing
done

# Damaged files: a BMP cut short, a TGA claiming a huge colour map, a WAV of noise.
fresh_tree
head -c 100 "$build/bitmaps/zem0.bmp" >"$work/run/bitmaps/zem0.bmp"
expect_file_message "bitmaps/zem0.bmp truncated to 100 bytes" bitmaps/zem0.bmp "damaged: the BMP pixel data is cut short"

fresh_tree
printf '\x00\x01\x01\x00\x00\xff\xff\x18' |
    dd of="$work/run/bitmaps/most.tga" bs=1 seek=0 conv=notrunc status=none
printf '\x08' | dd of="$work/run/bitmaps/most.tga" bs=1 seek=16 conv=notrunc status=none
expect_file_message "bitmaps/most.tga with a 65535-entry colour map" bitmaps/most.tga "damaged: the TGA pixel data is cut short"

fresh_tree
head -c 5000 /dev/urandom >"$work/run/sound/skok.wav"
printf 'RIFF' | dd of="$work/run/sound/skok.wav" bs=1 seek=0 conv=notrunc status=none
expect_file_message "sound/skok.wav full of noise" sound/skok.wav "damaged: not a RIFF WAVE file"

fresh_tree
printf '\xff\xff\xff\x7f' | dd of="$work/run/sound/dopad.wav" bs=1 seek=40 conv=notrunc status=none
expect_file_message "sound/dopad.wav with a chunk longer than the file" sound/dopad.wav "damaged: "

# A FIFO or a 2 GB sparse file in place of a picture or a sound: refused before anything is
# read from it (a FIFO would otherwise hold start-up forever, with a black window).
for f in bitmaps/zem0.bmp sound/skok.wav; do
    fresh_tree
    rm "$work/run/$f"
    mkfifo "$work/run/$f"
    expect_file_message "$f a FIFO" "$f" "not a regular file: it is a FIFO"
    fresh_tree
    truncate -s 2G "$work/run/$f"
    expect_file_message "$f a 2 GB file" "$f" "too large: 2147483648 bytes"
done

# Started from a folder without the game's files, it says where it looked.
mkdir -p "$work/elsewhere"
expect_file_message "started from a folder without the files" sound/podklad.wav missing "$work/elsewhere"

# Every file in place: the game waits in its menu until it is stopped.
fresh_tree
run_game 3
if ((status == 124)); then
    echo "ok: with every file the game reaches its menu"
else
    fail "with every file the game stopped by itself with status $status"
    sed 's/^/    | /' "$work/out" | head -20
fi

# No display at all.
(cd "$work/run" && env -u DISPLAY PATH="$work/bin" timeout -s TERM 20 "$game") >"$work/out" 2>&1 </dev/null
status=$?
if ((status == 1)) && grep -q "Zlyhala grafika." "$work/out"; then
    echo "ok: without a display the game reports the graphics failure"
else
    fail "without a display: exit status $status"
    sed 's/^/    | /' "$work/out" | head -20
fi

if ((failures)); then
    echo "$failures start-up check(s) failed"
    exit 1
fi
echo "all start-up checks passed"
