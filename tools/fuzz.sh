#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a given time, seeded with our maps, pictures, sounds and test fixtures.
#
#   tools/fuzz.sh [SECONDS] [TARGET ...]      SECONDS per target (default 60);
#                                             TARGET among fuzz_map fuzz_tga fuzz_bmp fuzz_wav (default all)
# Environment: KAV_FUZZ_BUILD  build directory (default <source>/build-fuzz)
#              KAV_FUZZ_JOBS   make jobs (default 2)
#
# Exit status 0 when no target found anything. A finding is left in
# <build>/findings/<target>/; once the fault is mended, copy the file into
# tests/fuzz/regressions/<target>/ so every later test run replays it.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_map fuzz_tga fuzz_bmp fuzz_wav)
build=${KAV_FUZZ_BUILD:-$root/build-fuzz}
jobs=${KAV_FUZZ_JOBS:-2}

case $seconds in ''|*[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;; esac
for t in "${targets[@]}"; do
  case $t in fuzz_map|fuzz_tga|fuzz_bmp|fuzz_wav) ;; *) echo "fuzz.sh: unknown target '$t'" >&2; exit 2 ;; esac
done
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found (Debian packages clang, libclang-rt-14-dev)" >&2; exit 2; }

echo "== building fuzz targets in $build"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKAV_FUZZ=ON -DBUILD_TESTING=OFF >"$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 2; }
cmake --build "$build" -j "$jobs" --target "${targets[@]}" >"$build/build.log" 2>&1 \
  || { tail -n 40 "$build/build.log"; exit 2; }

# Seeds: a flat directory of copies per target, small files only (libFuzzer cuts long inputs).
seed_files() {
  case $1 in
    fuzz_map) find "$root/map" "$root/tests/fixtures/maps" -type f 2>/dev/null ;;
    fuzz_tga) find "$root/gfx" "$root/assets" "$root/tests/fixtures" -type f -iname '*.tga' 2>/dev/null ;;
    fuzz_bmp) find "$root/gfx" "$root/assets" "$root/tests/fixtures" -type f \( -iname '*.bmp' -o -iname '*.dib' \) 2>/dev/null ;;
    fuzz_wav) find "$root/sfx" "$root/tests/fixtures" -type f -iname '*.wav' 2>/dev/null ;;
  esac
}

status=0
summary=()
for t in "${targets[@]}"; do
  seeds=$build/seeds/$t corpus=$build/corpus/$t findings=$build/findings/$t
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus" "$findings"
  n=0
  while IFS= read -r f; do
    [ "$(stat -c %s "$f")" -le 262144 ] || continue
    n=$((n + 1))
    cp "$f" "$seeds/$n-$(basename "$f")"
  done < <(seed_files "$t")
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  case $t in
    fuzz_map) options+=(-dict="$root/tests/fuzz/map.dict" -max_len=8192) ;;
    *) options+=(-max_len=65536) ;;
  esac
  echo "== $t: $seconds s, $n seed files"
  log=$build/$t.log
  [ -x "$build/$t" ] || { echo "fuzz.sh: $build/$t was not built" >&2; exit 2; }
  "$build/$t" "${options[@]}" "$corpus" "$seeds" "$root/tests/fuzz/regressions/$t" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $rc -ne 0 ]; then
    status=1
    tail -n 30 "$log"
    summary+=("$t: FINDING after ${execs:-?} executions; see $log and $findings/")
  else
    summary+=("$t: ${execs:-?} executions, no finding, corpus $(ls "$corpus" | wc -l) inputs")
  fi
done
echo "== fuzz summary"
printf '%s\n' "${summary[@]}"
exit $status
