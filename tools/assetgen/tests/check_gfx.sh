#!/bin/bash
# Rebuilds every picture and the icons into a temporary folder and fails when gfx/ or
# dist/icons/ differs from it.
# Usage: check_gfx.sh <path-to-kav_assetgen> <source-dir>
set -u
tool="$1"
src="$2"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" "$src" "$out" || { echo "FAIL: the asset tool stopped"; exit 1; }
fail=0
count=0
for f in "$out"/*; do
    name=$(basename "$f")
    count=$((count + 1))
    if [ ! -f "$src/gfx/$name" ]; then
        echo "FAIL: gfx/$name is missing (run the regenerate_gfx target)"
        fail=1
    elif ! cmp -s "$f" "$src/gfx/$name"; then
        echo "FAIL: gfx/$name differs from what the tool writes now (run the regenerate_gfx target)"
        fail=1
    fi
done
for f in "$src"/gfx/*; do
    [ -e "$out/$(basename "$f")" ] || { echo "FAIL: gfx/$(basename "$f") is not made by the tool"; fail=1; }
done
# The icons likewise, against dist/icons/.
"$tool" --icons "$src" "$out/icons" >/dev/null || { echo "FAIL: the asset tool stopped on the icons"; exit 1; }
if ! diff -r "$out/icons" "$src/dist/icons" >/dev/null; then
    echo "FAIL: dist/icons/ differs from what the tool writes now (run the regenerate_gfx target)"
    fail=1
fi
[ "$fail" -eq 0 ] && echo "gfx/ and dist/icons/ match the tool's output ($count pictures)"
exit $fail
