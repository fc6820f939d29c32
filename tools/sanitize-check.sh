#!/usr/bin/env bash
# Sanitizer check: builds the game and its unit tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the unit tests, replays the fuzz regression corpora and
# seeds, soaks every map and the hostile maps with seeded keys, and (with clang)
# fuzzes each target for a while. Any sanitizer report fails the check.
#
#   tools/sanitize-check.sh [FUZZ_SECONDS] [SOAK_STEPS]
#       FUZZ_SECONDS  per fuzz target (default 60; 0 skips fuzzing)
#       SOAK_STEPS    headless steps per soaked map (default 1000000; 0 skips the soak)
# Environment: KAV_SANITIZE_BUILD  build directory (default <source>/build-sanitize)
#              KAV_SANITIZE_CXX    compiler (default clang++ when present, else g++)
#              KAV_JOBS            make jobs (default 2)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_seconds=${1:-60}
soak_steps=${2:-1000000}
build=${KAV_SANITIZE_BUILD:-$root/build-sanitize}
jobs=${KAV_JOBS:-2}
for n in "$fuzz_seconds" "$soak_steps"; do
  case $n in ''|*[!0-9]*) echo "sanitize-check.sh: '$n' is not a whole number" >&2; exit 2 ;; esac
done
if [ -n "${KAV_SANITIZE_CXX:-}" ]; then cxx=$KAV_SANITIZE_CXX
elif command -v clang++ >/dev/null; then cxx=clang++
else cxx=g++; fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
step() { echo; echo "== $*"; }

step "configure and build with $cxx in $build"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKAV_SANITIZE=ON >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 2; }
cmake --build "$build" -j "$jobs" --target kav_map_soak kav_unit_tests fuzz_map_replay fuzz_tga_replay fuzz_bmp_replay fuzz_wav_replay \
      >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 2; }
find_binary() { find "$build" -type f -name "$1" -perm -u+x | head -n 1; }

step "unit tests"
unit=$(find_binary kav_unit_tests)
(cd "$build" && "$unit" --gtest_brief=1) || failed+=("unit tests")

step "fuzz regressions and seeds replayed"
replay() {
  local bin target=$1; shift
  bin=$(find_binary "${target}_replay")
  "$bin" "$root/tests/fuzz/regressions/$target" "$@" || failed+=("$target replay")
}
replay fuzz_map "$root/map" "$root/tests/fixtures/maps"
mapfile -t tga < <(find "$root/gfx" "$root/tests/fixtures" -type f -iname '*.tga' 2>/dev/null)
mapfile -t bmp < <(find "$root/gfx" "$root/tests/fixtures" -type f \( -iname '*.bmp' -o -iname '*.dib' \) 2>/dev/null)
replay fuzz_tga "${tga[@]}"
replay fuzz_bmp "${bmp[@]}"
mapfile -t wav < <(find "$root/sfx" "$root/tests/fixtures" -type f -iname '*.wav' 2>/dev/null)
replay fuzz_wav "${wav[@]}"

if [ "$soak_steps" -gt 0 ]; then
  # A real map in place of the first screen, the exits leading on to the other real maps;
  # a hostile map as all five screens, so every exit brings it back. Each run its own seed.
  step "soak: $soak_steps steps on every map and every hostile map"
  soak=$(find_binary kav_map_soak)
  soak_dir=$(mktemp -d)
  seed=1
  for m in "$root"/map/map0[0-4].map "$root"/tests/fixtures/maps/hostile_*.map; do
    [ -f "$m" ] || continue
    case $m in
      */hostile_*) rm -rf "$soak_dir/map"; mkdir -p "$soak_dir/map"
                   for i in 0 1 2 3 4; do cp "$m" "$soak_dir/map/map0$i.map"; done
                   where=$soak_dir ;;
      *) where=$root ;;
    esac
    (cd "$where" && "$soak" "$m" "$soak_steps" "$seed") || failed+=("soak $(basename "$m")")
    seed=$((seed + 1))
  done
  rm -rf "$soak_dir"
fi

if [ "$fuzz_seconds" -gt 0 ]; then
  if command -v clang++ >/dev/null; then
    step "fuzzing, $fuzz_seconds s per target"
    KAV_FUZZ_BUILD=${KAV_FUZZ_BUILD:-$build-fuzz} KAV_FUZZ_JOBS=$jobs "$root/tools/fuzz.sh" "$fuzz_seconds" \
      || failed+=("fuzzing")
  else
    step "fuzzing skipped: no clang++"
  fi
fi

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "sanitize check FAILED: ${failed[*]}"
  exit 1
fi
echo "sanitize check passed"
