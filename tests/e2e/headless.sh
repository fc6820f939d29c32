# The game without a window: key scripts, the world dump, world.log and bad command lines
# (what they say is the unit tests' business; here: that they end the run with status 2).
set -u
kav=$1
src=$2
. "$src/tests/e2e/lib.bash"
make_workdir
unset DISPLAY   # no X server is needed

# A dump is replaced whole or not at all: past a 100 KB file-size limit the write fails
# (status 1 and why) or, with the limit's signal left to kill, the run dies mid-write; the
# earlier dump stays as it was either way, and no temporary file is left by the failure.
timeout -s KILL 60 "$kav" --headless --frames 40 --dump long.json || fail "a first dump"
cp long.json kept.json
(ulimit -f 100; trap '' XFSZ; timeout -s KILL 60 "$kav" --headless --frames 3 --dump long.json 2> err.txt)
rc=$?
[ $rc -eq 1 ] || fail "dump past the size limit: exit status $rc, not 1"
grep -qF "long.json: write error (File too large); the earlier file is left as it was" err.txt || { cat err.txt; fail "no reason given"; }
[ -z "$(ls -A | grep -F .long.json.)" ] || fail "the failed dump left $(ls -A | grep -F .long.json.)"
kav="$kav" bash -c 'ulimit -f 100 -c 0; timeout -s KILL 60 "$kav" --headless --frames 3 --dump long.json; echo $?' \
    > status.txt 2> /dev/null
[ "$(cat status.txt)" = 153 ] || fail "the run was not killed by the size limit in the middle of its dump"
cmp -s long.json kept.json || fail "a failed or killed dump changed the earlier one"
timeout -s KILL 30 "$kav" --headless --frames 1 --dump /dev/null 2> err.txt && fail "--dump /dev/null replaced a device"
grep -qF "/dev/null: not a regular file; not replaced" err.txt || { cat err.txt; fail "no reason for /dev/null"; }
# The same on a full disk: a small memory file system, where mounting is allowed. A demo
# that cannot be recorded keeps the earlier one too, and the run stops before it starts.
mkdir small
if mount -t tmpfs -o size=64k tmpfs small 2> /dev/null; then
    printf '{"earlier": true}\n' > small/d.json
    timeout -s KILL 60 "$kav" --headless --frames 3 --dump small/d.json 2> err.txt
    rc=$?
    printf '# kav demo 1 map 0\n5 LEFT\n' > small/d.dem
    head -c 1M /dev/zero > small/filler 2> /dev/null
    timeout -s KILL 60 "$kav" --windowed --record small/d.dem 2> rec.txt
    rcrec=$?
    rm small/filler
    leftover=$(ls -A small | grep -v '^d.json$' | grep -v '^d.dem$')
    earlier=$(cat small/d.json small/d.dem)
    umount small
    [ $rc -eq 1 ] && grep -qF "No space left on device" err.txt || fail "dump on a full disk: status $rc, $(cat err.txt)"
    [ $rcrec -eq 2 ] && grep -qF "d.dem: cannot write the demo (No space left on device)" rec.txt ||
        fail "--record on a full disk: status $rcrec, $(cat rec.txt)"
    [ "$earlier" = $'{"earlier": true}\n# kav demo 1 map 0\n5 LEFT' ] && [ -z "$leftover" ] ||
        fail "a full disk cost the earlier dump or demo ($earlier) or left $leftover"
else
    echo "SKIPPED: the full-disk dump (no permission to mount a tmpfs here)"
fi
pass "dumps that cannot be written"

# Bad command lines: a message saying what was wrong, and status 2.
expect_status2() {
    local want=$1
    shift
    timeout -s KILL 30 "$kav" "$@" > /dev/null 2> err.txt
    local rc=$?
    [ $rc -eq 2 ] || fail "'$*' exit status $rc, not 2"
    grep -q -- "$want" err.txt || { cat err.txt; fail "'$*' did not mention '$want'"; }
}
# Scripts from a pipe are read as they come; endless or huge ones stop at the line that
# crosses a limit, within a memory limit far below what reading them whole would take.
mkfifo fifo.txt
(printf '7 LEFT\n' > fifo.txt &)
timeout -s KILL 30 "$kav" --headless --input fifo.txt --dump fifo.json || fail "a FIFO fed by a process"
[ "$(dump_value fifo.json frame)" = 7 ] || fail "the FIFO's script did not run its 7 steps"
truncate -s 1G sparse.txt
printf '1 \033[2J\n' > escape.txt
hostile() {   # INPUT WANT: refused with status 2 and WANT on stderr, in 300 MB of memory
    (ulimit -v 300000; timeout -s KILL 30 "$kav" --headless --input "$1" > /dev/null 2> err.txt)
    local rc=$?
    [ $rc -eq 2 ] || fail "--input $1: exit status $rc, not 2"
    grep -qF -- "$2" err.txt || { cat -A err.txt; fail "--input $1 did not say '$2'"; }
}
hostile /dev/zero "/dev/zero:1: the line is longer than 4096 bytes"
hostile sparse.txt "sparse.txt:1: the line is longer than 4096 bytes"
hostile <(yes '1 RIGHT') ":524289: the file is longer than 4 MB"
hostile escape.txt "escape.txt:1: unknown key '\x1b[2J'"
pass "scripts from pipes, and hostile ones"

printf '5 LEFT\n3 JUMP\n' > bad.txt
expect_status2 "bad.txt:2" --headless --input bad.txt
printf '5 LEFT\n' > good.txt
expect_status2 "--input and --dump name the same file" --headless --input good.txt --dump ./good.txt
[ "$(cat good.txt)" = "5 LEFT" ] || fail "a script named as the dump too was written over"
pass "bad options and scripts"

# What is printed on standard output must get there: a full device fails the run.
"$kav" --check "$src" > /dev/full 2> err.txt
rc=$?
[ $rc -eq 1 ] && grep -qF "standard output: write error" err.txt ||
    fail "--check > /dev/full: status $rc, $(cat err.txt)"
pass "stdout on a full device"

# A bad command line leaves an earlier world.log alone.
printf 'kept\n' > world.log
expect_status2 "--bogus" --bogus
[ "$(cat world.log)" = kept ] || fail "a refused command line touched world.log"

# With no display to reach, a window run stops and says so; it never plays on unseen. A
# recording that never started keeps the earlier demo; a timedemo that timed nothing fails.
printf '# kav demo 1 map 0\n5 LEFT\n' > kept.dem
cp kept.dem earlier.dem
nodisplay() { env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=:1999 timeout -s KILL 30 "$kav" "$@"; }
nodisplay --windowed --record kept.dem 2> nodisplay.txt || fail "a window run without a display: status $?"
grep -q "no display" nodisplay.txt || fail "without a display the run said: $(cat nodisplay.txt)"
cmp -s kept.dem earlier.dem && [ -z "$(ls -A | grep -F .kept.dem.)" ] ||
    fail "a recording that never started changed the earlier demo: $(cat kept.dem)"
nodisplay --timedemo kept.dem > out.txt 2> nodisplay.txt
rc=$?
[ $rc -eq 1 ] && [ ! -s out.txt ] && grep -qF "kept.dem: not timed: the timedemo could not open its window" nodisplay.txt ||
    fail "a timedemo without a display: status $rc, printed '$(cat out.txt)', said $(cat nodisplay.txt)"
pass "no display"

timeout -s KILL 30 "$kav" --help > help.txt || fail "--help status"
grep -q -- "--headless" help.txt || fail "--help does not list --headless"
grep -q "KAV_DATA" help.txt || fail "--help does not give the data search order"
pass "help"
