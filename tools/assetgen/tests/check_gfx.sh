#!/bin/bash
# Rebuilds every picture and the icons (or, with "sfx", every sound) into a temporary folder
# and fails when the committed gfx/ and dist/icons/ (sfx/) differ from it.
# Usage: check_gfx.sh <path-to-kav_assetgen> <source-dir> [gfx|sfx]
set -u
tool="$1"
src="$2"
kind=${3:-gfx}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if [ "$kind" = sfx ]; then
    what=sounds
    "$tool" --sfx "$out" >/dev/null || { echo "FAIL: the asset tool stopped"; exit 1; }
else
    what=pictures
    "$tool" "$src" "$out" >/dev/null || { echo "FAIL: the asset tool stopped"; exit 1; }
fi
fail=0
count=0
for f in "$out"/*; do
    name=$(basename "$f")
    count=$((count + 1))
    if [ ! -f "$src/$kind/$name" ]; then
        echo "FAIL: $kind/$name is missing (run the regenerate_$kind target)"
        fail=1
    elif ! cmp -s "$f" "$src/$kind/$name"; then
        echo "FAIL: $kind/$name differs from what the tool writes now (run the regenerate_$kind target)"
        fail=1
    fi
done
for f in "$src"/"$kind"/*; do
    [ -e "$out/$(basename "$f")" ] || { echo "FAIL: $kind/$(basename "$f") is not made by the tool"; fail=1; }
done
# The icons likewise, against dist/icons/.
if [ "$kind" = gfx ]; then
    "$tool" --icons "$src" "$out/icons" >/dev/null || { echo "FAIL: the asset tool stopped on the icons"; exit 1; }
    if ! diff -r "$out/icons" "$src/dist/icons" >/dev/null; then
        echo "FAIL: dist/icons/ differs from what the tool writes now (run the regenerate_gfx target)"
        fail=1
    fi
fi
[ "$fail" -eq 0 ] && echo "$kind/ matches the tool's output ($count $what)"
exit $fail
