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
ln -s "$src/sfx" sfx

# The samples of a WAV file the game wrote, or of a raw capture, from the first sound on:
# prints the offset of the first non-zero frame and a digest of the N frames from there.
onset() {
    python3 - "$1" "$2" <<'PY'
import hashlib, sys
data = open(sys.argv[1], 'rb').read()
if data[:4] == b'RIFF':
    data = data[44:]
frames = int(sys.argv[2])
i = next((k for k in range(0, len(data) - 3, 4) if data[k:k + 4] != b'\0\0\0\0'), None)
if i is None or i + 4 * frames > len(data):
    print('silent', len(data) // 4)
else:
    print(i // 4, hashlib.sha256(data[i:i + 4 * frames]).hexdigest())
PY
}

script=$src/tests/fixtures/golden/scripts/map0-seed2.txt
"$kav" --headless --input "$script" --audio-out a.wav --dump sound.json || fail "headless run with --audio-out"
"$kav" --headless --input "$script" --audio-out b.wav --volume 100 || fail "second run"
"$kav" --headless --input "$script" --dump silent.json || fail "run without sound"
cmp -s a.wav b.wav || fail "the same keys wrote two different WAV files"
cmp -s sound.json silent.json || fail "the dump differs with sound"
steps=$(dump_value sound.json frame)
[ "$(stat -c %s a.wav)" -eq $((44 + steps * 3200)) ] || fail "a.wav: $(stat -c %s a.wav) bytes for $steps steps"
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

# SDL's disk driver writes what the device plays: the shot's sound as --audio-out has it.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=played.raw "$kav" --windowed --playdemo shot.dem --audio-out window.wav \
    2> err.txt || fail "disk device: status $?"
grep -q "playing without sound" err.txt && fail "disk device: $(cat err.txt)"
want=$(onset window.wav 1600)
[ "$(( ${want%% *} / 800 ))" = 30 ] || fail "window.wav: the shot's sound starts at frame ${want%% *}, not at step 30"
got=$(onset played.raw 1600)
[ "${got#* }" = "${want#* }" ] || fail "the device played other samples than --audio-out wrote ($got / $want)"
pass "no device: one line, silent; the disk device plays the shot as --audio-out writes it"
