#!/bin/sh
# Runs the asset generator twice into fresh directories and demands byte-identical output.
set -eu
generator="$1"
first=$(mktemp -d)
second=$(mktemp -d)
trap 'rm -rf "$first" "$second"' EXIT
"$generator" "$first"
"$generator" "$second"
count=$(find "$first" -type f | wc -l)
if [ "$count" -ne 37 ]; then
    echo "expected 37 generated files (33 and the icon at 64, 128, 256 and as XPM), found $count" >&2
    exit 1
fi
diff -r "$first" "$second"
echo "37 files identical"
