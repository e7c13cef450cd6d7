#!/usr/bin/env bash
# The Debian package: made with CPack in the layout Debian uses for games, its control fields
# and its contents checked, then unpacked into a scratch root (a path with a space in it) and
# the game started from an unrelated directory, once through the launcher and once through a
# symlink to the launcher found on PATH.
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
GAME_PID=""
tmp=$(mktemp -d); trap 'kill -9 $GAME_PID 2>/dev/null; rm -rf "$tmp"' EXIT
GAME_LOG=$tmp/game.log

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
show_fail() { [ -f "$2" ] && tail -40 "$2" >&2; fail "$1"; }

# A build configured some other way gets a sibling tree configured as Debian configures games.
tree=$build
if [ "$(cache CMAKE_INSTALL_BINDIR)" != games ] || [ "$(cache CMAKE_INSTALL_DATADIR)" != share/games ]; then
    tree=$build/debian-games
    cmake -S "$(cache CMAKE_HOME_DIRECTORY)" -B "$tree" -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
        -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games >"$tmp/configure.log" 2>&1 \
        || show_fail "configuring the packaging tree" "$tmp/configure.log"
    cmake --build "$tree" -j2 >"$tmp/build.log" 2>&1 || show_fail "building the packaging tree" "$tmp/build.log"
fi

rm -f "$tree"/riverduel_*.deb
(cd "$tree" && cpack -G DEB) >"$tmp/cpack.log" 2>&1 || show_fail "cpack -G DEB" "$tmp/cpack.log"
debs=("$tree"/riverduel_*_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one riverduel_VERSION_ARCH.deb, got ${debs[*]}"
deb=${debs[0]}
pass "cpack made $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = riverduel ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Priority)" = optional ] || fail "priority $(field Priority)"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "maintainer $(field Maintainer)"
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
         share/doc/riverduel/README.md; do
    [ -f "$usr/$f" ] || fail "the package lacks /usr/$f"
done
[ -x "$usr/games/riverduel" ] && [ -x "$usr/lib/games/riverduel/riverduel" ] || fail "launcher or game not executable"
[ "$(ls "$usr/games")" = riverduel ] || fail "more than the launcher in /usr/games: $(ls "$usr/games")"
for d in bitmaps sound; do
    diff <(cd "$tree/$d" && find . -type f | sort) <(cd "$usr/share/games/riverduel/$d" && find . -type f | sort) \
        || fail "/usr/share/games/riverduel/$d differs from the build's $d/"
done
[ -n "$(ls "$usr/share/games/riverduel/sound")" ] || fail "no sounds packaged"
objdump -p "$usr/lib/games/riverduel/riverduel" | grep NEEDED | grep -q loadpng && fail "the game links the PNG add-on"
[ "$(identify -format '%m %w %h %[channels]' "$usr/share/icons/hicolor/48x48/apps/riverduel.png")" = "PNG 48 48 srgba" ] \
    || fail "icon: $(identify -format '%m %w %h %[channels]' "$usr/share/icons/hicolor/48x48/apps/riverduel.png")"
gzip -t "$usr/share/man/man6/riverduel.6.gz" || fail "the manual page is not gzip"
pass "contents: launcher, game, art, sounds, desktop entry, metadata, icon, manual page"

# start_cmd DIR COMMAND...: like start_game, with any command started in DIR.
start_cmd() {
    local dir=$1; shift
    wait_display
    GAME_OUT=$GAME_LOG
    (cd "$dir" && exec "$@") >"$GAME_OUT" 2>&1 &
    GAME_PID=$!
    find_window
    sleep 0.5
}

# menu_then_quit NAME: the menu is up; ESC ends the program with 0.
menu_then_quit() {
    mouse_to 600 300; sleep 0.3; shot "$tmp/$1.png"
    is_menu "$tmp/$1.png" || fail "$1: menu not shown"
    press Escape
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "$1: exit code $GAME_RC after ESC in the menu"
}

mkdir -p "$tmp/elsewhere"
start_cmd "$tmp/elsewhere" "$usr/games/riverduel"
menu_then_quit launcher
pass "the unpacked launcher starts the game from another directory"

mkdir -p "$tmp/bin"
ln -s "$usr/games/riverduel" "$tmp/bin/riverduel"
start_cmd "$tmp/elsewhere" env PATH="$tmp/bin:$PATH" riverduel
menu_then_quit symlink
pass "a symlink to the launcher on PATH starts the game too"
