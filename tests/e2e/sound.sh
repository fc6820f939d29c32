# The game's sound with the real binary: the same keys write the same WAV file, sound changes
# no dump, a bad --audio-out target fails cleanly; in a window under Xvfb, SDL's file-writing
# audio driver captures what --audio-out writes, and with no device the game plays silently
# and says so once.
set -u
kav=$1
src=$2
stage=${3:-}
. "$src/tests/e2e/lib.bash"

if [ -z "$stage" ]; then
    exec timeout -s KILL 200 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$0" "$kav" "$src" x
fi
make_workdir

# The frame at which the first sound of the WAV file $1 starts, and whether the rest of that
# step's samples (handed to the device as one piece) are found whole in the raw capture $2.
played() {
    python3 - "$1" "$2" <<'PY'
import sys
wav = open(sys.argv[1], 'rb').read()[44:]
raw = open(sys.argv[2], 'rb').read()
i = next((k for k in range(0, len(wav) - 3, 4) if wav[k:k + 4] != b'\0\0\0\0'), None)
if i is None:
    print('silent no')
else:
    step_end = (i // 3200 + 1) * 3200
    print(i // 4, 'yes' if wav[i:step_end] in raw else 'no')
PY
}

script=$src/tests/fixtures/golden/scripts/map0-seed2.txt
"$kav" --headless --input "$script" --audio-out a.wav --dump sound.json || fail "headless run with --audio-out"
"$kav" --headless --input "$script" --audio-out b.wav --volume 100 || fail "second run"
"$kav" --headless --input "$script" --dump silent.json || fail "run without sound"
cmp -s a.wav b.wav || fail "the same keys wrote two different WAV files"
cmp -s sound.json silent.json || fail "the dump differs with sound"
steps=$(dump_value sound.json frame)
mkdir folder
"$kav" --headless --frames 5 --audio-out folder 2> err.txt && fail "--audio-out to a folder succeeded"
grep -q "^kav: folder" err.txt || fail "--audio-out to a folder: $(cat err.txt)"
[ -z "$(ls folder)" ] || fail "a temporary file was left: $(ls folder)"
pass "same keys, same WAV ($steps steps); the dump is the same without sound; a folder is refused"

# A window run with no device: silent, one line, the run goes on to its end.
printf '# kav demo 1 map 0\n30\n2 SPACE\n60\n' > shot.dem
SDL_AUDIODRIVER=none "$kav" --windowed --playdemo shot.dem --dump none.json 2> err.txt || fail "no device: status $?"
[ "$(grep -c "playing without sound" err.txt)" = 1 ] || fail "no device: $(cat err.txt)"
[ "$(dump_value none.json frame)" = 92 ] || fail "no device: the run stopped at step $(dump_value none.json frame)"

# SDL's disk driver writes what the device plays: the shot's sound as --audio-out has it. At
# 30 frames a second the device never waits on the game's queue, so no step is dropped on a
# busy machine (gaps of silence between steps may come; a step is played whole).
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=played.raw "$kav" --windowed --fps 30 --playdemo shot.dem \
    --audio-out window.wav 2> err.txt || fail "disk device: status $?"
grep -q "playing without sound" err.txt && fail "disk device: $(cat err.txt)"
read -r onset found < <(played window.wav played.raw)
[ "$((onset / 800))" = 30 ] || fail "window.wav: the shot's sound starts at frame $onset, not in step 30"
[ "$found" = yes ] || fail "the device did not play the shot's first step as --audio-out wrote it"
"$kav" --headless --playdemo shot.dem --audio-out headless.wav || fail "the demo headless"
cmp -s window.wav headless.wav || fail "the window run and the headless run of one demo wrote different sound"
pass "no device: one line, silent; the disk device plays the shot as --audio-out writes it, as headless"
