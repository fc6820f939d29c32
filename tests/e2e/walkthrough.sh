# The walkthrough: one key script takes the hero from the start of the yard through all five
# screens to the far right of the terminal, each screen crossed by its own part of the script.
set -u
kav=$1
src=$(cd "$2" && pwd)
case $kav in /*) ;; *) kav=$(pwd)/$kav ;; esac
. "$src/tests/e2e/lib.bash"
make_workdir
unset DISPLAY
script="$src/tests/fixtures/walkthrough.txt"
[ -f "$script" ] || fail "no walkthrough at $script"

# Hero x and y of a dump: the "hero" object's own keys.
hero_value() { python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['hero'][sys.argv[2]])" "$1" "$2"; }

# Steps before each screen's part of the script begins ("# map N" comment lines).
starts=$(awk '/^# map [0-9]/ {print $3 ":" total + 0} /^[0-9]/ {total += $1} END {print "end:" total}' "$script" | tr -d ',')
[ "$(echo "$starts" | grep -c '^[0-4]:')" = 5 ] || fail "the script should have one part per screen: $starts"

for entry in $starts; do
    part=${entry%%:*}
    steps=${entry#*:}
    [ "$steps" -gt 0 ] || continue
    timeout -s KILL 120 "$kav" --headless --input "$script" --frames "$steps" --dump "at$steps.json" ||
        fail "headless run of $steps steps"
    map=$(dump_value "at$steps.json" mapIndex)
    if [ "$part" = end ]; then
        [ "$map" = 4 ] || fail "the walk ends on map $map, not on the last screen"
        x=$(hero_value "at$steps.json" x)
        jumping=$(hero_value "at$steps.json" jumping)
        python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) >= 232 else 1)" "$x" ||
            fail "the hero stops at x $x, short of the far right side"
        [ "$jumping" = 0 ] || fail "the hero is still in the air at the end"
        pass "arrived on the last screen at x $x after $steps steps"
    else
        # When screen N's part begins, the hero has just come through the door onto it.
        [ "$map" = "$part" ] || fail "after $steps steps the hero is on map $map, the script expects map $part"
        pass "reached map $part after $steps steps"
    fi
done

# A person plays by eye, not by the step: the same walk with every line's count moved by up to
# two steps either way (20 seeded variants) must still hide behind the barricades and end on
# the beacon's dais.
python3 - "$kav" "$script" <<'PY' || fail "a walk with jittered counts fails"
import json, random, subprocess, sys
kav, script = sys.argv[1], sys.argv[2]
lines = open(script).read().splitlines()
bad = 0
for seed in range(1, 21):
    rng = random.Random(seed)
    out = []
    for line in lines:
        words = line.split()
        if words and words[0].isdigit():
            words[0] = str(max(0, int(words[0]) + rng.randint(-2, 2)))
            line = " ".join(words)
        out.append(line)
    name = "jitter%d" % seed
    open(name + ".txt", "w").write("\n".join(out) + "\n")
    # Halfway through each line that crouches, the hero hides in a cover cell; at the end he
    # stands on the dais.
    crouches, steps = [], 0
    for line in out:
        words = line.split()
        if words and words[0].isdigit():
            if words[1:] == ["DOWN"]:
                crouches.append(steps + int(words[0]) // 2)
            steps += int(words[0])
    for frames in crouches + [None]:
        more = [] if frames is None else ["--frames", str(frames)]
        subprocess.run([kav, "--headless", "--input", name + ".txt", "--dump", name + ".json"] + more,
                       check=True, timeout=120)
        dump = json.load(open(name + ".json"))
        hero = dump["hero"]
        if frames is not None:
            cell = dump["grid"][23 - int(hero["y"] // 8)][int(hero["x"] // 8)]
            if hero["hide"] != 1 or cell != 3:
                print("FAIL: variant %d crouches at x %.1f on map %d outside cover" % (seed, hero["x"], dump["mapIndex"]))
                bad += 1
        elif dump["mapIndex"] != 4 or hero["x"] < 232 or hero["jumping"] != 0:
            print("FAIL: variant %d ends on map %d at x %.1f, y %.1f (in the air: %d)"
                  % (seed, dump["mapIndex"], hero["x"], hero["y"], hero["jumping"]))
            bad += 1
sys.exit(1 if bad else 0)
PY
pass "all 20 walks with every count moved by up to two steps hide in cover and reach the beacon"
