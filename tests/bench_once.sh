# The benchmarks run once, briefly, to prove they work: every figure must be printed and be a
# number above zero; none is judged against a target.
#   bench_once.sh BUILD_DIR SRC_DIR
set -u
out=$(bash "$2/tools/bench/run.sh" "$1" 1) || { echo "$out"; echo "FAIL: the benchmarks did not run"; exit 1; }
echo "$out"
bad=$(echo "$out" | awk '/^BENCH / && (NF != 4 || $3 !~ /^[0-9]+(\.[0-9]+)?$/ || $3 + 0 <= 0)')
[ -z "$bad" ] || { echo "FAIL: figures that are zero or not a number:"; echo "$bad"; exit 1; }
names="step_worst_us step_typical_median_us step_typical_p99_us audio_mix_us draw_floor_ms draw_scene_ms draw_debug_text_ms
       draw_ratio debug_text_ratio draw_cpu_ratio debug_text_cpu_ratio startup_bare_ms startup_game_ms
       startup_ratio startup_cpu_ratio"
for m in 0 1 2 3 4; do names="$names step_typical_map${m}_median_us step_typical_map${m}_p99_us"; done
for name in $names; do
    echo "$out" | grep -q "^BENCH $name " || { echo "FAIL: no figure $name"; exit 1; }
done
echo "ok: every benchmark printed its figures"
