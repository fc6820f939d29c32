# Demos and screenshots with the real game under Xvfb: a run recorded from real key events
# plays back bit for bit, headless and in a window; the timedemo's line; F12 and --screenshot.
set -u
kav=$1
src=$2
stage=${3:-}
. "$src/tests/e2e/lib.bash"

if [ -z "$stage" ]; then
    exec timeout -s KILL 200 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$0" "$kav" "$src" x
fi
make_workdir

# Demos whose header is not right stop with the file and the line, status 2, before they run
# (their lines are read as key scripts' are, which the unit tests try); the start map counts;
# a last line cut short (a full disk, a killed game) is left out.
while IFS='|' read -r name text want; do
    printf "$text" > "$name"
    timeout -s KILL 30 "$kav" --headless --playdemo "$name" > /dev/null 2> err.txt
    rc=$?
    [ $rc -eq 2 ] && grep -qF -- "$want" err.txt || fail "$name: status $rc, $(cat err.txt)"
done <<'TABLE'
nohead.dem|5 LEFT\n|nohead.dem:1: not a demo
v2.dem|#\tkav demo 2 map 0\n|v2.dem:1: a demo of version 2
map7.dem|# kav demo 1 map 7\n|map7.dem:1: start map 7
TABLE
printf '# kav demo 1 map 2\n1 RIGHT\n4 RIGHT SPA' > map2.dem
"$kav" --headless --playdemo map2.dem --dump map2.json 2> err.txt || fail "a demo starting on map 2"
[ "$(dump_value map2.json mapIndex)" = 2 ] || fail "the demo did not start on map 2"
[ "$(dump_value map2.json frame)" = 1 ] && grep -qF "map2.dem:3: the last line was cut short" err.txt ||
    fail "a last line cut short: $(dump_value map2.json frame) steps, $(cat err.txt)"
pass "demo headers and lines checked; the start map is used; a cut last line is left out"

# Recorded from the keyboard, with the world dumped at the end.
start_game --windowed --record run.dem --dump window.json
win=$(wait_window Kav 30) || { report_stuck $pid; fail "no window (1)"; }
xdotool windowfocus --sync "$win" 2> /dev/null
for key in Right space Up Right Left Down i Prior; do hold_key "$key" 0.3; done
xdotool keydown Escape
wait_exit $pid 10 || fail "Escape did not end the recording run"
xdotool keyup Escape
[ "$(head -n 1 run.dem)" = "# kav demo 1 map 0" ] || fail "demo header: $(head -n 1 run.dem)"
steps=$(dump_value window.json frame)
[ "$(awk '!/^#/ {n += $1} END {print n}' run.dem)" = "$steps" ] || fail "the demo does not hold the run's $steps steps"
grep -q RIGHT run.dem && grep -q SPACE run.dem && grep -q I run.dem || fail "keys missing from the demo: $(cat run.dem)"

"$kav" --headless --playdemo run.dem --dump headless.json || fail "headless playback"
cmp -s window.json headless.json || fail "headless playback differs from the recorded run"
timeout -s KILL 60 "$kav" --windowed --playdemo run.dem --dump replay.json || fail "window playback status"
cmp -s window.json replay.json || fail "window playback differs from the recorded run"
pass "recorded run of $steps steps played back the same, headless and in a window"

line=$(timeout -s KILL 60 "$kav" --timedemo run.dem) || fail "timedemo status"
echo "$line" | grep -qE "^$steps steps, [0-9]+\.[0-9]{3} seconds, [0-9]+\.[0-9] frames per second$" ||
    fail "timedemo printed '$line'"
timeout -s KILL 60 "$kav" --timedemo run.dem > /dev/full 2> err.txt
rc=$?
[ $rc -eq 1 ] && grep -qF "standard output: write error" err.txt || fail "timedemo > /dev/full: status $rc, $(cat err.txt)"
pass "timedemo: $line; its line lost on a full device fails"

# A killed recording leaves a demo that plays up to its last whole line.
start_game --windowed --record killed.dem 2> killed.txt
win=$(wait_window Kav 30) || { cat killed.txt; report_stuck $pid; fail "no window (2)"; }
xdotool windowfocus --sync "$win" 2> /dev/null
hold_key Right 0.3
hold_key Left 0.3
kill -KILL $pid
wait $pid 2> /dev/null
"$kav" --headless --playdemo killed.dem --dump killed.json || fail "the killed recording does not play"
[ "$(dump_value killed.json frame)" -gt 0 ] || fail "the killed recording holds no steps"
pass "a killed recording plays"

# --screenshot after step N; F12 never overwrites; a folder that cannot be made is one line.
# A screenshot not saved fails the run (status 1), and a run that ended too soon says so.
timeout -s KILL 60 "$kav" --windowed --frames 5 --screenshot shot.png || fail "--screenshot status"
[ "$(identify -format '%wx%h' shot.png)" = 800x600 ] || fail "shot.png is not an 800x600 picture"
timeout -s KILL 60 "$kav" --windowed --frames 3 --screenshot /nonexistent/x.png 2> err.txt
rc=$?
[ $rc -eq 1 ] && grep -qF "/nonexistent/x.png" err.txt || fail "a screenshot that cannot be written: status $rc, $(cat err.txt)"
timeout -s KILL 60 "$kav" --windowed --playdemo killed.dem --frames 100000 --screenshot late.png 2> err.txt
rc=$?
[ $rc -eq 1 ] && [ ! -e late.png ] && grep -qE "late.png: no screenshot: the run ended after [0-9]+ steps, before step 100000" err.txt ||
    fail "a demo that ended before the screenshot: status $rc, $(cat err.txt)"
mkdir screenshots
echo keep > screenshots/kav-0001.png
start_game --windowed
win=$(wait_window Kav 30) || { report_stuck $pid; fail "no window (3)"; }
xdotool windowfocus --sync "$win" 2> /dev/null
# Each press saves one picture; the next press comes once it is there. The game reads F12
# once a frame and nothing shows when it has seen the release, so the release is given half
# a second of frames of its own (a loaded machine draws some frames late).
for n in 2 3; do
    hold_key F12 0.5
    wait_until 10 identify screenshots/kav-000$n.png > /dev/null 2>&1 || fail "no screenshots/kav-000$n.png"
    sleep 0.5
done
[ "$(cat screenshots/kav-0001.png)" = keep ] || fail "F12 overwrote kav-0001.png"
xdotool keydown Escape
wait_exit $pid 10 || fail "Escape"
xdotool keyup Escape
rm -r screenshots && echo file > screenshots
start_game --windowed 2> f12.txt
win=$(wait_window Kav 30) || { report_stuck $pid; fail "no window (4)"; }
xdotool windowfocus --sync "$win" 2> /dev/null
hold_key F12 0.5
wait_until 10 test -s f12.txt || fail "F12 without a folder said nothing"
kill -0 $pid 2> /dev/null || fail "the game ended when the screenshot could not be saved"
[ "$(wc -l < f12.txt)" = 1 ] && grep -q screenshots f12.txt || fail "F12 without a folder said: $(cat f12.txt)"
xdotool keydown Escape
wait_exit $pid 10 || fail "Escape"
xdotool keyup Escape
pass "screenshots: --screenshot, F12 numbering, a folder that cannot be made"

# Started from the desktop menu: the log goes to the XDG state folder and F12's pictures to
# the pictures folder that user-dirs.dirs names; nothing is written where the game started.
mkdir -p desk home/.config && cd desk
echo 'XDG_PICTURES_DIR="$HOME/Bilder"' > ../home/.config/user-dirs.dirs
HOME="$work/home" XDG_STATE_HOME= XDG_CONFIG_HOME= start_game --desktop --windowed --data "$src"
win=$(wait_window Kav 30) || { report_stuck $pid; fail "no window (5)"; }
xdotool windowfocus --sync "$win" 2> /dev/null
hold_key F12 0.5
for ((i = 0; i < 100; i++)); do identify ../home/Bilder/kav/kav-0001.png > /dev/null 2>&1 && break; sleep 0.1; done
identify ../home/Bilder/kav/kav-0001.png > /dev/null 2>&1 || fail "no picture in the pictures folder: $(find ../home)"
xdotool keydown Escape
wait_exit $pid 10 || fail "Escape"
xdotool keyup Escape
cd .. && [ -z "$(ls -A desk)" ] || fail "a desktop run wrote into its working folder: $(ls -A desk)"
[ -s home/.local/state/kav/world.log ] || fail "no world.log in the state folder: $(find home)"
pass "a desktop run writes to the state and pictures folders only"
