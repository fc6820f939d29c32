# Every benchmark of the game, one "BENCH <name> <value> <unit>" line per figure.
#   bash tools/bench/run.sh BUILD_DIR [ROUNDS]
# Times the build it is given: its kav (BUILD_DIR/kav) and its benchmark targets.
# The drawing and the start-up run under an Xvfb server of their own. Ratios are taken side by
# side, round after round, and reported as medians: the figures of a shared machine wander.
# The ratios in processor time (all threads of the process, the GL driver's too) are the
# steadier second opinion on a busy machine.
set -eu
build=$(cd "$1" && pwd)
rounds=${2:-15}
src=$(cd "$(dirname "$0")/../.." && pwd)

"$build/tools/simbench/kav_bench_sim" "$src" $((rounds * 13))
"$build/tools/soundbench/kav_bench_mix" "$src" $((rounds * 13))

# Inside the X server: the drawing benchmark, then the start-up of the game against the bare
# window, alternating, each ended by the probe at its first swapped frame.
inside=$(cat <<'INSIDE'
set -eu
build=$1 src=$2 rounds=$3
"$build/tools/bench/kav_bench_draw" $((rounds * 2 + 1)) 2>/dev/null
probe=$build/tools/bench/libkav_startup_probe.so
startup_ms() {
    KAV_T0=$(date +%s%N) LD_PRELOAD=$probe "$@" | awk '/first frame swapped/ {print $4, $10}'
}
cd "$src"
for r in $(seq "$rounds"); do
    bare=$(startup_ms "$build/tools/bench/kav_bare_window")
    game=$(startup_ms "$build/kav" --windowed)
    echo "$bare $game"   # wall and processor milliseconds of each
done | awk '
    function median(a, n,   i, j, t) {
        for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j-1] > a[j]; j--) { t = a[j]; a[j] = a[j-1]; a[j-1] = t }
        return n % 2 ? a[(n+1)/2] : (a[n/2] + a[n/2+1]) / 2
    }
    NF == 4 && $1 > 0 && $2 > 0 { n++; b[n] = $1; g[n] = $3; q[n] = $3 / $1; c[n] = $4 / $2 }
    END {
        if (n == 0) { print "no start-up was timed" > "/dev/stderr"; exit 1 }
        printf "BENCH startup_bare_ms %.1f ms\n", median(b, n)
        printf "BENCH startup_game_ms %.1f ms\n", median(g, n)
        printf "BENCH startup_ratio %.3f x\n", median(q, n)
        printf "BENCH startup_cpu_ratio %.3f x\n", median(c, n)
    }'
INSIDE
)
xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash -c "$inside" inside "$build" "$src" "$rounds"
