#!/usr/bin/env bash
# Builds the decoders of the art and sound files, the recording reader and the online game's
# message decoder with clang's libFuzzer and the sanitizers, and fuzzes each for a fixed time, starting from the game's own
# files. Any crash, sanitizer report or broken promise of a decoder fails the test; the input
# that did it is kept in the log.
#
# Usage: fuzz.sh SOURCE_DIR BUILD_DIR [SECONDS_EACH]
set -euo pipefail

source_dir=${1:?source directory}
build_dir=${2:?build directory}
seconds=${3:-25}
source_dir=$(cd "$source_dir" && pwd)
build_dir=$(cd "$build_dir" && pwd)

command -v clang++ >/dev/null || { echo "FAIL: clang++ is not installed (./deps.sh test installs it)"; exit 1; }
for f in "$build_dir"/bitmaps/zem0.bmp "$build_dir"/bitmaps/most.tga "$build_dir"/sound/skok.wav; do
    [ -s "$f" ] || { echo "FAIL: $f has not been generated; build the 'assets' target first"; exit 1; }
done

fuzz_build=$build_dir/fuzz
CXX=clang++ cmake -S "$source_dir/fuzz" -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$fuzz_build" -j2 >/dev/null

work=$(mktemp -d /tmp/riverduel-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT

# run TARGET SEEDS...: new inputs go to a scratch corpus; the seeds are only read.
run() {
    local target=$1; shift
    mkdir -p "$work/$target"
    if ! (cd "$work" && "$fuzz_build/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 "$work/$target" "$@") >"$work/$target.log" 2>&1; then
        tail -40 "$work/$target.log"
        echo "FAIL: $target found an input that breaks the decoder"
        exit 1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work/$target.log" | sed "s/^/$target: /"
    echo "ok: $target ran ${seconds}s without a fault"
}

# The recording reader starts from the pinned games (version 1) and from recordings this game
# writes (version 2), finished, unfinished and cut off mid-block.
mkdir -p "$work/recordings"
cp "$source_dir"/tests/games/*.rdr "$work/recordings/"
"$build_dir/tests/random_games" "$work/recordings" 3 7 >/dev/null
for f in "$work"/recordings/random-*.rdr; do
    head -c 120 "$f" > "${f%.rdr}-cut.rdr"
    head -c 131 "$f" > "${f%.rdr}-torn.rdr"
done
# Two fuzz side by side, one to a processor, then the other two; each reports once it is done.
run fuzz_image "$build_dir/bitmaps" &
image=$!
run fuzz_wav "$build_dir/sound" &
wav=$!
failed=0
wait "$image" || failed=1
wait "$wav" || failed=1
# The recording reader beside the online game's messages (riders' and spectators'), from one of each kind (token 1).
mkdir -p "$work/messages"
m=$work/messages
printf '\001RD\000\002\017riverduel 1.0.0\001\002\003\004\005\006\007\010\000\000\000\001' > "$m/hello"
printf '\001RD\000\011\017riverduel 9.9.9later' > "$m/hello-of-another-protocol"
printf '\002RD\002\000\002\017riverduel 1.0.0' > "$m/refuse"
printf '\003\000\000\000\001\000\001\000\000\000\007\000\000\000\070\377\377\377\377\002' > "$m/start"
printf '\004\000\000\000\001\000\001' > "$m/click"
printf '\005\000\000\000\001\000\001' > "$m/menu"
printf '\006\000\000\000\001\000\001\000\000\000\003\000\000\000\002\002\001\010' > "$m/inputs"
printf '\007\000\000\000\001\000\001\000\000\000\024%032d' 0 > "$m/hash"
printf '\010\000\000\000\001' > "$m/alive"
printf '\011\000\000\000\001RD\000\002\017riverduel 1.0.0\001\002\003\004\005\006\007\010' > "$m/watch"
printf '\012\000\000\000\001\000\001\000\000\000\002\000\000\000\004\002\001\010' > "$m/passes"
printf '\013\000\000\000\001\000\001\000\000\000\044' > "$m/seen"
run fuzz_recording "$work/recordings" &
recording=$!
run fuzz_message "$work/messages" &
message=$!
wait "$recording" || failed=1
wait "$message" || failed=1
exit "$failed"
