#!/bin/bash
# The folders depend one way: platform and world at the bottom, sim, render and sound above
# world, shell on top. Each folder includes only the folders it may, and only render/gl.h and the
# platform backends name the GL or window-system headers.
src=${1:-.}
cd "$src" || exit 2
fail=0
while read -r folder allowed; do
    for f in "$folder"/*.cpp "$folder"/*.h; do
        [ -e "$f" ] || continue
        while IFS= read -r inc; do
            top=${inc%%/*}
            case " $allowed " in *" $top "*) ;; *) echo "$f includes $inc"; fail=1 ;; esac
        done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$f")
        if [ "$f" != render/gl.h ] && [ "$folder" != platform ] && grep -Eq '^#include <(GL/|SDL|windows\.h)' "$f"; then
            echo "$f includes a GL or window-system header"
            fail=1
        fi
    done
done <<'TABLE'
platform platform
world world platform
sim sim world platform
render render world platform
sound sound world platform
shell shell sim render sound world platform
TABLE
# What differs between Windows and the rest lives in platform/ (and the GL header's guard).
for f in $(grep -rlE '^[[:space:]]*#[[:space:]]*if.*_WIN32' shell world sim render sound); do
    [ "$f" = render/gl.h ] || { echo "$f tests _WIN32 outside platform/"; fail=1; }
done
[ $fail = 0 ] && echo "ok: every folder includes only the folders below it"
exit $fail
