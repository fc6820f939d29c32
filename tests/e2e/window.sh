# The real game under Xvfb: the start question, the window, keys, Escape, the close box,
# the full-screen toggle, the unsupported-mode question and the settings file.
set -u
kav=$1
src=$2
stage=${3:-}
. "$src/tests/e2e/lib.bash"

if [ -z "$stage" ]; then
    # A 1024x768 screen has no 800x600 mode; an 800x600 screen has exactly that mode.
    timeout -s KILL 150 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$0" "$kav" "$src" wide || exit 1
    timeout -s KILL 100 xvfb-run -a -s '-screen 0 800x600x24 -noreset' bash "$0" "$kav" "$src" exact || exit 1
    exit 0
fi

make_workdir
cc -o send_close "$src/tests/e2e/send_close.c" -lX11 || fail "cannot build the close helper"

if [ "$stage" = wide ]; then
    # No at the start question: an 800x600 window; keys reach the game; Escape ends it.
    start_game --dump keys.json
    answer_box "Start FullScreen?" Escape
    win=$(wait_window Kav 10) || { report_stuck $pid; fail "no window titled Kav after answering No"; }
    case $(geometry "$win") in 800x600+*) ;; *) fail "window is $(geometry "$win"), not 800x600" ;; esac
    xdotool windowfocus --sync "$win" 2> /dev/null
    hold_key i
    hold_key b
    hold_key 1
    hold_key Prior 0.6
    xdotool keydown Escape
    wait_exit $pid 10 || fail "Escape did not end the game"
    xdotool keyup Escape
    [ $status -eq 27 ] || fail "exit status $status after Escape, not 27 (the Escape key's message)"
    check_world_log
    [ "$(dump_value keys.json showInfo)" = 1 ] || fail "I did not reach the game"
    [ "$(dump_value keys.json showTiles)" = 1 ] || fail "B did not reach the game"
    [ "$(dump_value keys.json showBackground)" = 0 ] || fail "1 did not reach the game"
    scale=$(dump_value keys.json viewScale)
    awk -v s="$scale" 'BEGIN {exit !(s > 3.2)}' || fail "Page Up held did not zoom (viewScale $scale)"
    [ "$(dump_value keys.json frame)" -gt 10 ] || fail "too few frames ran"
    pass "start question No, window, keys, Escape"

    # The close box ends the game with status 0, and so does a window destroyed from outside.
    # The keypad walks with Num Lock off.
    for how in "./send_close" "xdotool windowclose"; do
        start_game --windowed --dump closed.json
        win=$(wait_window Kav 30) || { report_stuck $pid; fail "no window with --windowed (before '$how')"; }
        wait_mapped "$win" 10 || fail "the window was never mapped (before '$how')"
        xdotool windowfocus --sync "$win" 2> /dev/null
        hold_key KP_Left
        $how "$win"
        wait_exit $pid 30 || fail "'$how' did not end the game"
        [ $status -eq 0 ] || fail "exit status $status after '$how'"
        x=$(sed -n '/^ "hero": {/,/}/s/^  "x": \(.*\),$/\1/p' closed.json)
        awk -v x="$x" 'BEGIN {exit !(x < 136)}' || fail "the keypad's 4 did not walk the hero left (x $x)"
    done
    pass "close box, a window destroyed from outside, the keypad"

    # The settings file: "fullscreen no" skips the question, a bad line is told by file and
    # line and skipped, the arrow bound to nothing does not walk, D bound to right does, and
    # the file named by --config is read instead of the player's; --print-config writes the
    # settings in force, the command line's over the file's (sound and volume among them).
    mkdir -p config/kav
    printf 'fullscreen no\nbind RIGHT none\nbind D right\nbogus 1\nvolume 30\n' > config/kav/kav.cfg
    printf 'fullscreen no\nbind D right\n' > named.cfg
    for run in RIGHT:config/kav/kav.cfg:bogus D:named.cfg:; do
        IFS=: read -r key cfg said <<< "$run"
        start_game --dump bound.json --config "$cfg" 2> bound.err
        win=$(wait_window Kav 10) || { report_stuck $pid; fail "no window without the question ($cfg)"; }
        wait_window "Start FullScreen?" 1 > /dev/null && fail "'fullscreen no' still asked the question"
        xdotool windowfocus --sync "$win" 2> /dev/null
        hold_key "${key/D/d}" 0.6
        xdotool keydown Escape
        wait_exit $pid 10 || fail "Escape did not end the game ($cfg)"
        xdotool keyup Escape
        x=$(sed -n '/^ "hero": {/,/}/s/^  "x": \(.*\),$/\1/p' bound.json)
        if [ -n "$said" ]; then
            grep -q "^kav: $cfg:4: unknown setting 'bogus'" bound.err || fail "the bad line was not told: $(cat bound.err)"
            [ "$x" = 136.0 ] || fail "Right bound to nothing walked the hero to x $x"
        else
            [ ! -s bound.err ] || fail "a good file was complained of: $(cat bound.err)"
            awk -v x="$x" 'BEGIN {exit !(x > 136)}' || fail "D bound to right did not walk the hero (x $x)"
        fi
    done
    out=$("$kav" --fps 30 --nosound --print-config 2> /dev/null) || fail "--print-config failed"
    grep -qx 'fps 30' <<< "$out" && grep -qx 'bind D right' <<< "$out" && grep -qx 'bind RIGHT none' <<< "$out" &&
        grep -qx 'fullscreen no' <<< "$out" && grep -qx 'sound off' <<< "$out" && grep -qx 'volume 30' <<< "$out" ||
        fail "--print-config wrote: $out"
    rm -r config
    pass "settings file: no question, bad line told, Right unbound, D walks, --print-config"

    # Yes at the start question on a screen without 800x600: the mode question, Yes goes
    # on windowed. F1 then asks again; No ends the game after telling the player.
    start_game
    answer_box "Start FullScreen?" Return
    answer_box "Vela GL" Return
    win=$(wait_window Kav 10) || { report_stuck $pid; fail "no window after accepting windowed mode"; }
    xdotool windowfocus --sync "$win" 2> /dev/null
    hold_key F1
    answer_box "Vela GL" Escape
    answer_box "ERROR" Return
    wait_exit $pid 10 || fail "the game did not end after 'Program Will Now Close.'"
    [ $status -eq 0 ] || fail "exit status $status after a failed toggle"
    pass "unsupported full screen: Yes goes windowed, No ends the game"

    # The folder named with --data is the only one read, though this one holds the data:
    # with nothing there a box says so before any window, and the game ends with status 1.
    start_game --windowed --data "$work/nothing"
    answer_box "Kav" Return
    wait_exit $pid 10 || fail "the game without data did not end after its box"
    [ $status -eq 1 ] || fail "exit status $status without data, not 1"
    pass "no data where --data points: a box, then status 1"

    # SIGTERM ends the game within a second while a box waits for the player, box and all; a
    # recording that never began leaves the earlier demo and no new file.
    printf '# kav demo 1 map 0\n5 LEFT\n' > kept.dem
    start_game --record kept.dem
    wait_window "Start FullScreen?" 30 > /dev/null || { report_stuck $pid; fail "no start question"; }
    kill -TERM $pid
    wait_exit $pid 1 || fail "SIGTERM under the start question did not end the game within a second"
    [ $status -eq 143 ] || fail "exit status $status after SIGTERM, not 143"
    wait_no_window "Start FullScreen?" 2 || fail "the start question stayed up after SIGTERM"
    [ "$(cat kept.dem)" = $'# kav demo 1 map 0\n5 LEFT' ] && [ -z "$(ls -A | grep -F .kept.dem.)" ] ||
        fail "SIGTERM before the window left the demo as: $(cat kept.dem); $(ls -A | grep -F .kept.dem.)"
    pass "SIGTERM under a message box"
fi

if [ "$stage" = exact ]; then
    # Full screen at 800x600, F1 to a window titled KAV and back again, Escape.
    start_game --fullscreen
    win=$(wait_window Kav 10) || { report_stuck $pid; fail "no full-screen window"; }
    wait_mapped "$win" 10 || fail "the full-screen window was never mapped"
    wait_window "Vela GL" 1 > /dev/null && fail "the 800x600 mode was refused on an 800x600 screen"
    [ "$(geometry "$win")" = 800x600+0+0 ] || fail "full screen window is $(geometry "$win")"
    hold_key F1
    wait_no_window Kav 10 || fail "F1 left the old window"
    win=$(wait_window KAV 10) || { report_stuck $pid; fail "no window titled KAV after F1"; }
    xdotool windowfocus --sync "$win" 2> /dev/null
    hold_key F1
    win2=$(wait_window KAV 10) || { report_stuck $pid; fail "no window titled KAV after the second F1"; }
    wait_window "Vela GL" 1 > /dev/null && fail "going back to full screen asked about the mode"
    kill -0 $pid 2> /dev/null || fail "the game ended on the toggle"
    xdotool windowfocus --sync "$win2" 2> /dev/null
    xdotool keydown Escape
    wait_exit $pid 10 || fail "Escape did not end the game after two toggles"
    xdotool keyup Escape
    [ $status -eq 27 ] || fail "exit status $status after Escape"
    check_world_log
    pass "full screen and the F1 toggle"

    # Left held across F1: the new window keeps the key, and the hero walks on (about 0.35
    # pixels a step from x 136: some 60 pixels in the 3 s after the toggle; a hero that lost
    # the key stops near x 120).
    start_game --fullscreen --dump held.json
    win=$(wait_window Kav 10) || { report_stuck $pid; fail "no full-screen window"; }
    sleep 0.3
    xdotool windowfocus --sync "$win" 2> /dev/null
    xdotool keydown Left
    sleep 0.3
    hold_key F1 0.2
    win=$(wait_window KAV 10) || { xdotool keyup Left; report_stuck $pid; fail "no window titled KAV after F1"; }
    xdotool windowfocus --sync "$win" 2> /dev/null
    sleep 3
    xdotool keyup Left
    sleep 0.2
    xdotool keydown Escape
    wait_exit $pid 10 || fail "Escape did not end the game after F1 with Left held"
    xdotool keyup Escape
    x=$(sed -n '/^ "hero": {/,/}/s/^  "x": \(.*\),$/\1/p' held.json)
    awk -v x="$x" 'BEGIN {exit !(x < 90)}' || fail "Left held across F1 let the hero stop at x $x"
    pass "a key held across the F1 toggle stays held"

    # SIGTERM while full screen and a box is up (an unreadable backdrop): the game ends within
    # a second and its window goes, through the release that restores the display mode.
    mkdir bad && cp -r "$src/gfx" bad/gfx && ln -s "$src/map" bad/map && echo "not a picture" > bad/gfx/back.bmp
    cd bad
    start_game --fullscreen 2> ../term.txt
    cd ..
    wait_window Error 30 > /dev/null || { report_stuck $pid; fail "no box for the unreadable backdrop"; }
    kill -TERM $pid
    wait_exit $pid 1 || fail "SIGTERM under a box in full screen did not end the game within a second"
    [ $status -eq 143 ] || fail "exit status $status after SIGTERM in full screen, not 143"
    wait_no_window Kav 2 && wait_no_window Error 2 || fail "a window stayed after SIGTERM: $(xwininfo -root -tree | grep '"')"
    grep -qF "ended by SIGTERM while the box 'Error' was up" term.txt || fail "SIGTERM in full screen said: $(cat term.txt)"
    pass "SIGTERM under a box in full screen"
fi
