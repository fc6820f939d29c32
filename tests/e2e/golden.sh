# Golden dumps: the walkthrough and seeded random key scripts, each run headless on frozen
# copies of the screens, must give byte for byte the dumps recorded in tests/fixtures/golden/dumps.sha256.
# Any change to the rules, or to how floats are computed, shows up here.
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

: > sums.txt
for script in "$golden"/scripts/*.txt; do
    name=$(basename "$script" .txt)
    case $name in
        walkthrough) screens_from 0 ;;
        map*) screens_from "${name:3:1}" ;;
        *) screens_from "${name%-seed*}" ;;
    esac
    timeout -s KILL 120 "$kav" --headless --input "$script" --frames 4000 --dump "$name.json" ||
        fail "headless run of $name"
    echo "$(sha256sum < "$name.json" | cut -d' ' -f1)  $name" >> sums.txt
done

if [ "$mode" = update ]; then
    cp sums.txt "$golden/dumps.sha256"
    pass "recorded $(wc -l < sums.txt) golden dumps"
    exit 0
fi
diff "$golden/dumps.sha256" sums.txt || fail "dumps differ from the recorded ones (lines above)"
pass "$(wc -l < sums.txt) dumps identical to the recorded ones"
