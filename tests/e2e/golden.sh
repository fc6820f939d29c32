# Golden dumps: the walkthrough and seeded random key scripts, each run headless on frozen
# copies of the screens, must give byte for byte the dumps recorded in tests/fixtures/golden/dumps/
# (gzip'd). Any change to the rules, or to how floats are computed, shows up here, with the
# first fields that differ.
#   golden.sh KAV SRC            check
#   golden.sh KAV SRC update     record the dumps again (only on purpose: the rules changed)
set -u
kav=$1
src=$(cd "$2" && pwd)
case $kav in /*) ;; *) kav=$(pwd)/$kav ;; esac
mode=${3:-check}
. "$src/tests/e2e/lib.bash"
unset DISPLAY
golden=$src/tests/fixtures/golden
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# The screens in the order that puts screen $1 first (the game always starts on map00);
# a named map (not a number) replaces the first screen only.
screens_from() {
    rm -rf map && mkdir map
    local i
    for i in 0 1 2 3 4; do
        if [ -f "$golden/maps/$1.map" ]; then
            if [ $i = 0 ]; then cp "$golden/maps/$1.map" map/map00.map; else cp "$golden/maps/map0$i.map" "map/map0$i.map"; fi
        else
            cp "$golden/maps/map0$(( ($1 + i) % 5 )).map" "map/map0$i.map"
        fi
    done
}

# The first fields (as paths: "cannon[3].x") whose values differ between two dumps.
first_differences() {
    python3 - "$1" "$2" <<'PY'
import json, sys
recorded, now = (json.load(open(p)) for p in sys.argv[1:3])
found = []
def walk(a, b, path):
    if len(found) >= 10:
        return
    if isinstance(a, dict) and isinstance(b, dict):
        for k in sorted(set(a) | set(b)):
            walk(a.get(k, "(missing)"), b.get(k, "(missing)"), path + ("." if path else "") + k)
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for i, (x, y) in enumerate(zip(a, b)):
            walk(x, y, "%s[%d]" % (path, i))
    elif a != b or type(a) != type(b):
        found.append("  %s: recorded %s, now %s" % (path, json.dumps(a)[:60], json.dumps(b)[:60]))
walk(recorded, now, "")
print("\n".join(found) if found else "  the same values written differently")
PY
}

mkdir -p recorded
failed=0
for script in "$golden"/scripts/*.txt; do
    name=$(basename "$script" .txt)
    case $name in
        walkthrough) screens_from 0 ;;
        map*) screens_from "${name:3:1}" ;;
        *) screens_from "${name%-seed*}" ;;
    esac
    timeout -s KILL 120 "$kav" --headless --input "$script" --frames 4000 --dump "$name.json" ||
        fail "headless run of $name"
    if [ "$mode" = update ]; then
        gzip -9n < "$name.json" > "$golden/dumps/$name.json.gz"
        continue
    fi
    gzip -dc "$golden/dumps/$name.json.gz" > "recorded/$name.json" 2> /dev/null || {
        echo "$name: no recorded dump"
        failed=$((failed + 1))
        continue
    }
    cmp -s "recorded/$name.json" "$name.json" && continue
    echo "$name: differs from the recorded dump, first in"
    first_differences "recorded/$name.json" "$name.json"
    failed=$((failed + 1))
done
count=$(ls "$golden"/scripts/*.txt | wc -l)
[ "$mode" = update ] && { pass "recorded $count golden dumps"; exit 0; }
[ $failed = 0 ] || fail "$failed of $count dumps differ from the recorded ones (fields above)"
pass "$count dumps identical to the recorded ones"
