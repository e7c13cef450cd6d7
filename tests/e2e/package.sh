#!/usr/bin/env bash
# The Debian package made by package_build.sh: its control fields, its contents, its
# copyright and changelog, then unpacked into a scratch root (a path with a space in it) and
# the game started from an unrelated directory, once through the launcher and once through a
# symlink to the launcher found on PATH.
# Usage: package.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=$(cd "${1:?build directory}" && pwd)
GAME_LOG=$tmp/game.log
deb=$(package_file "$build")

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = riverduel ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Priority)" = optional ] || fail "priority $(field Priority)"
[[ "$(field Maintainer)" == *" <"*"@"*">" ]] || fail "maintainer $(field Maintainer)"
[[ "$(field Homepage)" == https://* ]] || fail "homepage $(field Homepage)"
[ -n "$(field Description | sed -n 2p)" ] || fail "no long description"
depends=$(field Depends)
[[ "$depends" == *liballegro4.4* ]] || fail "Depends lacks Allegro: $depends"
[[ "$depends" == *libc6* ]] || fail "Depends lacks libc6: $depends"
[[ "$depends" != *loadpng* ]] || fail "Depends names the PNG add-on: $depends"
pass "control fields: section games, priority optional, Depends: $depends"

root="$tmp/scratch root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
[ "$(ls "$root")" = usr ] || fail "files outside /usr: $(ls "$root")"
usr=$root/usr
for f in games/riverduel lib/games/riverduel/riverduel \
         share/applications/io.github.riverduel.riverduel.desktop \
         share/metainfo/io.github.riverduel.riverduel.metainfo.xml \
         share/icons/hicolor/48x48/apps/riverduel.png share/man/man6/riverduel.6.gz \
         share/doc/riverduel/README.md share/doc/riverduel/copyright share/doc/riverduel/changelog.gz; do
    [ -f "$usr/$f" ] || fail "the package lacks /usr/$f"
done
[ -x "$usr/games/riverduel" ] && [ -x "$usr/lib/games/riverduel/riverduel" ] || fail "launcher or game not executable"
[ "$(ls "$usr/games")" = riverduel ] || fail "more than the launcher in /usr/games: $(ls "$usr/games")"
for d in bitmaps sound; do
    diff <(cd "$build/$d" && find . -type f | sort) <(cd "$usr/share/games/riverduel/$d" && find . -type f | sort) \
        || fail "/usr/share/games/riverduel/$d differs from the build's $d/"
done
[ -n "$(ls "$usr/share/games/riverduel/sound")" ] || fail "no sounds packaged"
! objdump -p "$usr/lib/games/riverduel/riverduel" | grep NEEDED | grep -q loadpng || fail "the game links the PNG add-on"
for size in 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x$size/apps/riverduel.png
    [ -f "$icon" ] && [ "$(identify -format '%m %w %h %[channels]' "$icon")" = "PNG $size $size srgba" ] \
        || fail "icon at $size: $(identify -format '%m %w %h %[channels]' "$icon" 2>&1)"
done
grep -qx 'StartupWMClass=riverduel' "$usr/share/applications/io.github.riverduel.riverduel.desktop" ||
    fail "the desktop entry does not name the window's class"
gzip -t "$usr/share/man/man6/riverduel.6.gz" || fail "the manual page is not gzip"
pass "contents: launcher, game, art, sounds, desktop entry, metadata, icons at 48 to 256, manual page"

doc=$usr/share/doc/riverduel
head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "the copyright file is not machine-readable"
grep -qx 'License: MIT' "$doc/copyright" || fail "the copyright file does not name the MIT licence"
# gzip -n leaves the name and the time (bytes 4 to 7) out of the header.
[ "$(od -An -tu4 -j4 -N4 "$doc/changelog.gz" | tr -d ' ')" = 0 ] || fail "changelog.gz keeps a time stamp"
changelog() { zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S "$1"; }
[ "$(changelog Version)" = "$(field Version)" ] || fail "changelog version $(changelog Version), package $(field Version)"
[ "$(changelog Maintainer)" = "$(field Maintainer)" ] || fail "changelog signed by $(changelog Maintainer)"
# Without SOURCE_DATE_EPOCH the files carry the date of the latest changelog entry.
released=$(date -u -d "$(changelog Date)" '+%Y-%m-%d %H:%M')
dates=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --utc | awk '{ print $4, $5 }' | sort -u)
[ "$dates" = "$released" ] || fail "file dates $(echo $dates) instead of the changelog's $released"
pass "copyright (MIT, machine-readable), changelog $(changelog Version) signed by the maintainer, files dated $released"

mkdir -p "$tmp/elsewhere"
# menu_then_quit NAME: the menu is up; ESC ends the program with 0.
menu_then_quit() {
    mouse_to 600 300; sleep 0.3; shot "$tmp/$1.png"
    is_menu "$tmp/$1.png" || fail "$1: menu not shown"
    press Escape
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "$1: exit code $GAME_RC after ESC in the menu"
}

start_cmd "$tmp/elsewhere" "$usr/games/riverduel"
menu_then_quit launcher
pass "the unpacked launcher starts the game from another directory"

mkdir -p "$tmp/bin"
ln -s "$usr/games/riverduel" "$tmp/bin/riverduel"
start_cmd "$tmp/elsewhere" env PATH="$tmp/bin:$PATH" riverduel
menu_then_quit symlink
pass "a symlink to the launcher on PATH starts the game too"

# A recording named relative to where the player is, though the game runs in its data folder.
cp "$(dirname "$0")/../games/rudko_wins.rdr" "$tmp/elsewhere/game.rdr"
verified=$(cd "$tmp/elsewhere" && "$usr/games/riverduel" --verify game.rdr) ||
    fail "the launcher did not find a recording named relative to where it was started"
[ "$verified" = "$(cat "$(dirname "$0")/../games/rudko_wins.line")" ] ||
    fail "the launcher's --verify printed '$verified'"
pass "the launcher passes recordings named from the player's folder"
