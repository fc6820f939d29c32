# The walkthrough: one key script takes the hero from the start of the yard through all five
# screens to the far right of the terminal, each screen crossed by its own part of the script.
set -u
kav=$1
src=$(cd "$2" && pwd)
case $kav in /*) ;; *) kav=$(pwd)/$kav ;; esac
. "$src/tests/e2e/lib.bash"
make_workdir
unset DISPLAY
script="$src/tests/walkthrough/walkthrough.txt"
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
