#!/bin/bash
# The Debian package as a packager and a player meet it: lintian reports no errors and no
# warnings (an unstripped binary among them); the menu entry, the AppStream metainfo and the
# man page pass their own checkers; the binary is hardened (bind now, fortified calls), which
# lintian only mentions; unpacked anywhere, the
# game reads its data from the games layout beside it. Prints lintian's informational tags.
# Usage: package.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --build "$build" --target kav-deb > "$tmp/build.log" 2>&1 || fail "kav-deb: $(tail -n 20 "$tmp/build.log")"
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$tmp/build.log" | tail -n 1)
[ -f "$deb" ] || fail "no package named in the build's output: $(tail -n 5 "$tmp/build.log")"

lintian --info --display-info --pedantic "$deb" > "$tmp/lintian.txt" 2>&1
if grep -E '^[EW]: ' "$tmp/lintian.txt"; then fail "lintian: errors or warnings above"; fi
grep -E '^[IPX]: ' "$tmp/lintian.txt" | sed 's/^/lintian: /'

dpkg-deb -x "$deb" "$tmp/root" || fail "dpkg-deb cannot unpack $deb"
r=$tmp/root
for f in usr/games/kav usr/share/games/kav/map/map00.map usr/share/games/kav/gfx/font.bmp \
         usr/share/doc/kav/copyright usr/share/doc/kav/changelog.gz usr/share/man/man6/kav.6.gz \
         usr/share/icons/hicolor/48x48/apps/kav.png usr/share/icons/hicolor/256x256/apps/kav.png; do
    [ -s "$r/$f" ] || fail "the package has no /$f"
done
desktop=$(ls "$r"/usr/share/applications/*.desktop) || fail "no menu entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
grep -qx 'Categories=Game;ActionGame;' "$desktop" || fail "the menu entry is not in the Game category"
grep -qx 'Exec=/usr/games/kav --desktop' "$desktop" || fail "the menu entry does not start /usr/games/kav as a desktop run"
metainfo=$(ls "$r"/usr/share/metainfo/*.metainfo.xml) || fail "no AppStream metainfo"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate: $metainfo"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo has no screenshot"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$r/usr/share/man/man6/kav.6.gz" 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$r/usr/share/doc/kav/copyright" ||
    fail "the copyright file is not in Debian's machine-readable format"

bin=$r/usr/games/kav
readelf -d "$bin" | grep -Eq 'BIND_NOW|FLAGS.*\bNOW\b' || fail "the binary is not linked with bind now"
readelf -W --dyn-syms "$bin" | grep -Eq '__[a-z]*(printf|mem[a-z]*|str[a-z]*)_chk' || fail "the binary calls no fortified functions"

# Unpacked anywhere, the game finds its data in the games layout beside it.
mkdir "$tmp/here" && cd "$tmp/here"
"$bin" --headless --frames 30 --dump world.json 2> stderr.txt || fail "the packaged game: status $?"
[ -s stderr.txt ] && fail "the packaged game said: $(cat stderr.txt)"
grep -q '"mapIndex": 0' world.json || fail "the packaged game did not load map 0"
"$bin" --version | grep -qx "kav $(dpkg-deb -f "$deb" Version)" || fail "--version is not the package's"
echo "ok: $(basename "$deb"): lintian clean, menu entry, metainfo and man page valid, hardened, data found"
