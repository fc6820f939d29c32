#!/bin/bash
# The game runs from any folder. Installed into a fresh prefix (Debian's games layout) and
# started from an empty folder, it reads its data under the prefix; the built program reads
# the data beside it; a lone copy finds none, says where it looked and runs as without data, until --data or
# KAV_DATA names the folder, which then wins over a different data set in the working folder.
# Each run's world after 30 steps must equal the one seen from the source folder, and
# world.log is written where the game was started; the installed game finds its sounds too.
# A game installed on this machine already does not change the outcome: the lone copy's runs
# do not see the folder the build installs to (hidden in a mount namespace of their own).
# Usage: install.sh BUILD_DIR KAV SOURCE_DIR
build=$1 kav=$2 src=$3
case $kav in /*) ;; *) kav=$(pwd)/$kav ;; esac
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Where this build looks for installed data, as CMake's GNUInstallDirs works it out: the
# games layout's share/games/kav/.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
prefix=$(cache CMAKE_INSTALL_PREFIX)
datadir=$(cache CMAKE_INSTALL_DATAROOTDIR)
datadir=${datadir:-share}
case $datadir in /*) ;; *) datadir=${prefix:-/usr/local}/$datadir ;; esac
datadir=$datadir/games/kav
lone=()   # runs the lone copy
if [ -e "$datadir/map" ] || [ -e "$datadir/gfx" ]; then
    unshare -m true 2> /dev/null || {
        echo "SKIPPED: a game is installed in $datadir and no mount namespace can hide it"
        exit 0
    }
    lone=(unshare -m sh -c 'mount -t tmpfs none "$0" && exec "$@"' "$datadir")
fi

cmake --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log" || fail "cmake --install: $(cat "$tmp/install.log")"
mkdir "$tmp/lone" && cp "$tmp/prefix/games/kav" "$tmp/lone/kav"

(cd "$src" && "$kav" --headless --frames 30 --dump "$tmp/expected.json" 2>/dev/null) || fail "run in the source folder"

# A run from a new empty folder: exit status 0, the dump, stderr and world.log kept.
run() {
    local name=$1; shift
    mkdir -p "$tmp/$name"
    (cd "$tmp/$name" && "$@" --headless --frames 30 --dump world.json 2>stderr.txt) || fail "$name: exit $?"
    [ -f "$tmp/$name/world.log" ] || fail "$name: no world.log where the game started"
}
run installed "$tmp/prefix/games/kav" --audio-out sound.wav   # silent on stderr: every sound found
run beside "$kav"
# A data set here whose first screen is another: the named folder must win over it.
for name in option environment; do
    mkdir -p "$tmp/$name/map" "$tmp/$name/gfx"
    cp "$src/map/map01.map" "$tmp/$name/map/map00.map"
done
run option "${lone[@]}" "$tmp/lone/kav" --data "$src"
run environment "${lone[@]}" env KAV_DATA="$src" "$tmp/lone/kav"
for name in installed beside option environment; do
    cmp -s "$tmp/expected.json" "$tmp/$name/world.json" || fail "$name: not the world of map 0"
    [ -s "$tmp/$name/stderr.txt" ] && fail "$name: said $(cat "$tmp/$name/stderr.txt")"
done

(cd "$tmp/installed" && "$tmp/prefix/games/kav" --check > check.txt) || fail "installed: --check said $(cat "$tmp/installed/check.txt")"

run nowhere "${lone[@]}" "$tmp/lone/kav"
grep -q "cannot open map/map00.map" "$tmp/nowhere/world.log" || fail "nowhere: world.log: $(cat "$tmp/nowhere/world.log")"
for folder in "./" "$tmp/lone/" "$tmp/lone/../share/games/kav/"; do
    grep -qxF "  $folder" "$tmp/nowhere/stderr.txt" || fail "nowhere: stderr does not name $folder: $(cat "$tmp/nowhere/stderr.txt")"
done
echo "ok: installed, beside the program, --data and KAV_DATA (over data in the working folder) all load map 0; without data the folders are named"
