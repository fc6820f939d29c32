# The walkthrough: one key script takes the hero from the start of the yard through all five
# screens onto the beacon's dais at the far right of the terminal, hiding behind the barricades
# on the way. A person plays by eye, not by the step: the same walk with every line's count
# moved by up to two steps either way (20 seeded variants) must do the same.
set -u
kav=$1
src=$(cd "$2" && pwd)
case $kav in /*) ;; *) kav=$(pwd)/$kav ;; esac
. "$src/tests/e2e/lib.bash"
make_workdir
unset DISPLAY
script="$src/tests/fixtures/walkthrough.txt"
[ -f "$script" ] || fail "no walkthrough at $script"

python3 - "$kav" "$script" <<'PY' || fail "the walkthrough or a walk with jittered counts fails"
import json, random, subprocess, sys
kav, script = sys.argv[1], sys.argv[2]
lines = open(script).read().splitlines()
bad = 0
for seed in range(0, 21):   # 0: the script as it stands
    # Halfway through each line that crouches, the hero hides in a cover cell; at the end he
    # stands on the dais.
    rng = random.Random(seed)
    out, crouches, steps = [], [], 0
    for line in lines:
        words = line.split()
        if words and words[0].isdigit():
            count = max(0, int(words[0]) + (rng.randint(-2, 2) if seed else 0))
            line = " ".join([str(count)] + words[1:])
            if words[1:] == ["DOWN"]:
                crouches.append(steps + count // 2)
            steps += count
        out.append(line)
    name = "jitter%d" % seed
    open(name + ".txt", "w").write("\n".join(out) + "\n")
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
pass "the walkthrough and 20 walks with every count moved by up to two steps hide in cover and reach the beacon"
