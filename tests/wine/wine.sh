# The Windows package under Wine: the zip holds the licence and the player's notes with
# Windows line ends; kav.exe is stripped and carries its icon, version and manifest (read
# back with MinGW's binutils); it gives the same dumps and the same sound file as the Linux
# build, bit for bit; under Xvfb its window draws the Linux build's picture, plays on
# silently without a sound device and says so, F12 saves it as a PNG file, Escape ends it
# with 27, the start question takes Return and Escape, and a broken picture shows its
# message box.
#   wine.sh KAV_WINDOWS_ZIP SRC LINUX_KAV
# Needs wine, wine64, xvfb, xdotool, x11-utils and imagemagick. Prints the seconds each part took.
set -u
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
src=$(cd "$2" && pwd)
linux=$3
case $linux in /*) ;; *) linux=$(pwd)/$linux ;; esac
stage=${4:-}
. "$src/tests/e2e/lib.bash"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
clock() { date +%s.%N; }
took() { awk -v a="$1" -v b="$(clock)" -v what="$2" 'BEGIN {printf "time: %s %.1f s\n", what, b - a}'; }

if [ -z "$stage" ]; then
    top=$(mktemp -d)
    export WINEPREFIX=$top/prefix
    trap 'wineserver -k 2> /dev/null; rm -rf "$top"' EXIT
    (cd "$top" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
    exe=$top/kav/kav.exe
    for f in kav.exe map/map04.map gfx/font.bmp gfx/trainend04.tga sfx/train.wav README-windows.txt LICENSE.txt; do
        [ -s "$top/kav/$f" ] || fail "the package has no kav/$f"
    done
    for f in README-windows.txt LICENSE.txt; do
        [ "$(grep -c $'\r$' "$top/kav/$f")" = "$(wc -l < "$top/kav/$f")" ] || fail "kav/$f has lines without CRLF"
    done
    grep -q "world.log" "$top/kav/README-windows.txt" || fail "README-windows.txt does not say where world.log goes"
    # Resource types: icon (3), icon group (14), version (16), manifest (24).
    types=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/Resource Directory section/,$p' |
            sed -n 's/^[0-9a-f]*   Entry: ID: 0x\([0-9a-f]*\),.*/\1/p' | while read -r id; do printf '%d ' $((16#$id)); done)
    [ "$types" = "3 14 16 24 " ] || fail "kav.exe's resource types are '$types', not icon, icon group, version, manifest"
    version=$("$linux" --version | head -n 1)
    x86_64-w64-mingw32-strings -el "$exe" | grep -qx "${version#kav }" || fail "kav.exe's version information lacks ${version#kav }"
    x86_64-w64-mingw32-strings "$exe" | grep -q "PerMonitorV2" || fail "kav.exe's manifest does not declare DPI awareness"
    x86_64-w64-mingw32-objdump -h "$exe" | grep -q "debug" && fail "kav.exe in the zip is not stripped"
    pass "the zip: licence and notes with CRLF; kav.exe stripped, with icon, version $version and manifest"
    # A wrapper, so that the scripts run kav.exe as they run the Linux binary.
    printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$exe" > "$top/kav-wine"
    chmod +x "$top/kav-wine"

    # One prefix for the whole run; its first start is the slow one. Windows without a
    # window manager: unmanaged, or Wine stalls on every window's end.
    t=$(clock)
    timeout -s KILL 120 wineboot -i > /dev/null 2>&1 || fail "cannot create a Wine prefix"
    timeout -s KILL 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        > /dev/null 2>&1 || fail "cannot set Wine's X11 driver to unmanaged windows"
    took "$t" "Wine prefix"

    # Started from elsewhere, the game finds its data beside kav.exe.
    (cd "$top" && timeout -s KILL 60 wine "$exe" --headless --frames 3 --dump "$top/elsewhere.json") ||
        fail "kav.exe started outside its folder did not run"
    [ "$(dump_value "$top/elsewhere.json" frame)" = 3 ] || fail "kav.exe outside its folder: no dump of 3 steps"

    # Both builds against the same recorded dumps: equal to them, so equal to each other.
    out=$(timeout -s KILL 300 bash "$src/tests/e2e/golden.sh" "$linux" "$src") || fail "Linux build: $out"
    t=$(clock)
    out=$(timeout -s KILL 600 bash "$src/tests/e2e/golden.sh" "$top/kav-wine" "$src") ||
        fail "kav.exe: $out"
    took "$t" "headless dumps under Wine"
    pass "kav.exe and the Linux build: ${out#ok: }"
    script=$src/tests/fixtures/golden/scripts/map2-seed1.txt
    (cd "$top" && timeout -s KILL 60 wine "$exe" --headless --input "$script" --audio-out "$top/wine.wav" &&
        "$linux" --headless --input "$script" --audio-out "$top/linux.wav" --data "$src") || fail "--audio-out runs"
    cmp -s "$top/wine.wav" "$top/linux.wav" || fail "kav.exe and the Linux build wrote different sound for $script"
    pass "kav.exe and the Linux build write the same sound file ($(stat -c %s "$top/wine.wav") bytes)"
    wineserver -k 2> /dev/null   # the window runs start afresh on their own X server

    t=$(clock)
    timeout -s KILL 300 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$0" "$top/kav-wine" "$src" "$linux" window ||
        exit 1
    took "$t" "window runs under Wine"
    exit 0
fi

wine=$1
make_workdir
trap 'stop_games; wineserver -k 2> /dev/null; rm -rf "$work"' EXIT

# Answers a Wine message box with one key, typed as a player would into the focused box
# (a key sent to the window itself can reach the game's window as well). A key that comes
# in the box's first moments is taken as Cancel, so it waits until the box has settled.
wine_answer() {
    local id i
    id=$(wait_window "$1" 30) || fail "no box captioned '$1'"
    wait_mapped "$id" 30 || fail "the box '$1' was never mapped"
    sleep 1
    xdotool windowfocus "$id" 2> /dev/null
    sleep 0.2
    xdotool key "$2"
    for ((i = 0; i < 100; i++)); do
        xwininfo -id "$id" > /dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the box '$1' did not take $2"
}

# Id of a window named $1 that is mapped; none (status 1) while there is none.
viewable_window() {
    local id
    for id in $(xwininfo -root -tree | awk -v n=" \"$1\": " 'index($0, n) {print $1}'); do
        window_viewable "$id" && { echo "$id"; return 0; }
    done
    return 1
}

# Id of the game's window once it is shown, waiting up to 30 s. Wine makes its X window
# again when the GL pixel format is set; the game shows its window only after that.
game_window() { wait_until 30 viewable_window "$1"; }

# Grabs area $1 of the screen into $2 (PNG) once the picture holds still: two grabs in a row
# with the same pixels, so that the keys just sent have been drawn.
still_shot() {
    local i
    import -window root -crop "$1" +repage "$2.a.ppm" || return 1
    for ((i = 0; i < 50; i++)); do
        import -window root -crop "$1" +repage "$2.b.ppm" || return 1
        if cmp -s "$2.a.ppm" "$2.b.ppm"; then
            convert "$2.b.ppm" "$2" && rm -f "$2.a.ppm" "$2.b.ppm"
            return
        fi
        mv "$2.b.ppm" "$2.a.ppm"
    done
    return 1
}

# Client area of window $1 as WxH+X+Y: the game's own picture, without the frame Wine
# draws around an unmanaged window (equal borders left, right and below).
client() {
    local g w h x y b
    g=$(geometry "$1")
    IFS='x+' read -r w h x y <<< "$g"
    b=$(( (w - 800) / 2 ))
    echo "800x600+$((x + b))+$((y + h - 600 - b))"
}

# Escape held in window $1 must end the game with status 27 (the Escape key's message); $2 says when.
escape_ends() {
    xdotool windowfocus "$1" 2> /dev/null
    xdotool keydown Escape
    wait_exit $pid 30 || fail "Escape did not end the game $2"
    xdotool keyup Escape
    [ $status -eq 27 ] || fail "exit status $status after Escape $2, not 27"
}

# No sound device here: the game says so once and plays its steps.
"$wine" --windowed --frames 30 --dump silent.json 2> err.txt || fail "no sound device: status $?"
[ "$(grep -c "kav: no sound device" err.txt)" = 1 ] || { cat err.txt; fail "no sound device: not said once"; }
[ "$(dump_value silent.json frame)" = 30 ] || fail "no sound device: the run stopped at $(dump_value silent.json frame)"
pass "Wine without a sound device: one line, and the run goes on"

# The same still frame from both builds: the first screen with its cannons stopped, so
# that nothing moves once the hero stands, with the debug text and the tile view on.
mkdir -p still/map
cp "$src"/tests/fixtures/golden/maps/map0?.map still/map/
sed -i 's/freqspd .*/freqspd 0.00/' still/map/map00.map
ln -s "$src/gfx" still/gfx
ln -s "$src/sfx" still/sfx
cd still
for build in linux wine; do
    if [ $build = linux ]; then kav=$linux; else kav=$wine; fi
    start_game --windowed
    win=$(game_window Kav) || fail "$build: no window titled Kav"
    xdotool windowfocus "$win" 2> /dev/null
    hold_key i
    hold_key b
    area=$(geometry "$win")
    [ $build = wine ] && area=$(client "$win")
    still_shot "$area" "../$build.png" || fail "$build: no still screenshot"
    if [ $build = wine ]; then   # F12: the game's own PNG writer on Windows
        hold_key F12 0.5
        for ((i = 0; i < 100; i++)); do identify screenshots/kav-0001.png > /dev/null 2>&1 && break; sleep 0.1; done
        [ "$(identify -format '%m %wx%h' screenshots/kav-0001.png 2> /dev/null)" = "PNG 800x600" ] ||
            fail "F12 under Wine: no 800x600 PNG in screenshots\\ ($(ls screenshots 2>&1))"
    fi
    escape_ends "$win" "($build)"
done
cd ..
[ -n "${KAV_WINE_SHOTS:-}" ] && cp linux.png wine.png "$KAV_WINE_SHOTS"/   # to look at them
# Both draw with the same Mesa: allow a little for the edges of the GL implementations.
size=$(identify -format %wx%h wine.png)
[ "$size" = 800x600 ] || fail "the Wine screenshot is $size"
colours=$(identify -format %k wine.png)
[ "$colours" -gt 200 ] || fail "the Wine window shows only $colours colours: not the game's picture"
differ=$(compare -metric AE -fuzz 8% linux.png wine.png null: 2>&1)
[ "${differ%%.*}" -le 2400 ] 2> /dev/null ||
    fail "the Wine window's picture differs from the Linux one in $differ of 480000 pixels"
pass "Wine window: same picture as the Linux build ($differ pixels apart), F12 saves a PNG, Escape gives 27"

# The start question: Return is Yes, full screen; this 1024x768 screen has no 800x600
# mode, so the game asks again, and Return goes on windowed. F1 makes the window anew (the
# same question, then a window titled KAV), and Left held across it stays held: the hero
# walks on from x 136 (it stops near 125 when the old window's end lets go of the key).
# Escape is No: a window at once.
kav=$wine
start_game --dump toggled.json
wine_answer "Start FullScreen?" Return
wine_answer "Vela GL" Return
win=$(game_window Kav) || fail "no window after Yes and the windowed fallback"
xdotool windowfocus "$win" 2> /dev/null
xdotool keydown Left
sleep 0.3
hold_key F1
wine_answer "Vela GL" Return
win=$(game_window KAV) || { xdotool keyup Left; fail "no window titled KAV after F1"; }
wait_window Kav 1 > /dev/null && fail "F1 left the old window"
xdotool windowfocus "$win" 2> /dev/null
sleep 1
xdotool keyup Left
hold_key b
import -window root -crop "$(client "$win")" +repage toggled.png || fail "no screenshot after F1"
[ -n "${KAV_WINE_SHOTS:-}" ] && cp toggled.png "$KAV_WINE_SHOTS"/
colours=$(identify -format %k toggled.png)
[ "$colours" -gt 200 ] || fail "after F1 the window shows only $colours colours: the pictures were lost"
escape_ends "$win" "after Yes"
[ "$(dump_value toggled.json showTiles)" = 1 ] || fail "keys did not reach the window made by F1"
x=$(sed -n '/^ "hero": {/,/}/s/^  "x": \(.*\),$/\1/p' toggled.json)
awk -v x="$x" 'BEGIN {exit !(x < 110)}' || fail "Left held across F1 let the hero stop at x $x"
start_game
wine_answer "Start FullScreen?" Escape
win=$(game_window Kav) || fail "no window after No"
wait_window "Vela GL" 1 > /dev/null && fail "No at the start question still tried full screen"
case $(geometry "$win") in 808x627+*) ;; *) fail "the window after No is $(geometry "$win")" ;; esac
escape_ends "$win" "after No"
pass "Wine start question: Return is Yes (then the windowed fallback), F1 makes the window anew with Left still held (hero at x $x), Escape is No"

# Losing the focus lets go of every key: Left held, the focus given to the desktop and Left
# let go there (its key-up reaches no window of the game); back in the game the hero stands.
start_game --windowed --dump unfocused.json
win=$(game_window Kav) || fail "no window with --windowed"
xdotool windowfocus "$win" 2> /dev/null
xdotool keydown Left
sleep 0.5
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')" 2> /dev/null
sleep 0.3
xdotool keyup Left
sleep 0.2
xdotool windowfocus "$win" 2> /dev/null
xdotool mousemove --window "$win" 400 300 click 1   # Wine activates its window on a click
sleep 2
escape_ends "$win" "after the focus came back"
x=$(sed -n '/^ "hero": {/,/}/s/^  "x": \(.*\),$/\1/p' unfocused.json)
awk -v x="$x" 'BEGIN {exit !(x > 90)}' || fail "the hero walked on after the focus went with Left held (x $x)"
pass "Wine focus loss lets go of the keys (hero at x $x)"

# A missing bitmap is passed over in silence; one that cannot be decoded is reported in
# a box captioned "Error", and start-up goes on when it is closed. Wine's trace of the
# box gives its text.
mkdir broken
cp -r "$src/gfx" broken/gfx
ln -s "$src/map" broken/map
ln -s "$src/sfx" broken/sfx
rm broken/gfx/font.bmp
printf 'BM%062d' 0 > broken/gfx/back.bmp
cd broken
WINEDEBUG=-all,trace+msgbox setsid "$wine" --windowed 2> trace.txt &
pid=$!
games+=("$pid")
wine_answer Error Return
win=$(game_window Kav) || fail "no window after the picture's message box"
grep -q 'MSGBOX_OnInit L"Unknown DIB file format."' trace.txt ||
    { cat trace.txt; fail "the box does not say 'Unknown DIB file format.'"; }
[ "$(grep -c MSGBOX_OnInit trace.txt)" = 1 ] || { cat trace.txt; fail "not exactly one message box"; }
escape_ends "$win" "after the message box"
pass "Wine message box: 'Error' / 'Unknown DIB file format.' for a broken bitmap, none for a missing one"
