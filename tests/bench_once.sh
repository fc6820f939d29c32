# The benchmarks run once, briefly, to prove they work: every figure is printed, none is judged.
#   bench_once.sh BUILD_DIR SRC_DIR
set -u
out=$(bash "$2/tools/bench/run.sh" "$1" 1) || { echo "$out"; echo "FAIL: the benchmarks did not run"; exit 1; }
echo "$out"
for name in step_worst_us step_typical_median_us step_typical_p99_us audio_mix_us startup_ratio draw_ratio debug_text_ratio; do
    echo "$out" | grep -Eq "^BENCH $name [0-9.]+ [a-z]+$" || { echo "FAIL: no figure $name"; exit 1; }
done
echo "ok: every benchmark printed its figures"
