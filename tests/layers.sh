#!/bin/bash
# The folders depend one way: platform and world at the bottom, sim, render and sound above
# world, shell on top; the entries of the programs (the web page's among them) and the tools over
# the game. Each file includes only the folders its row allows (a row's files are those of
# its folder and the folders under it that no other row names), and only render/gl.h and
# the platform backends name the GL or window-system headers.
src=${1:-.}
cd "$src" || exit 2
fail=0
# Files of a row: the path itself when it is a file, else every source under the folder that
# belongs to no longer row.
files_of() {
    if [ -f "$1" ]; then echo "$1"; return; fi
    find "$1" -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort | while read -r f; do
        owner=$1
        while read -r other _; do
            case "$f" in "$other"|"$other"/*) [ ${#other} -gt ${#owner} ] && owner=$other ;; esac
        done <<<"$table"
        [ "$owner" = "$1" ] && echo "$f"
    done
}
table=$(cat <<'TABLE'
platform platform
world world platform
sim sim world platform
render render world platform
sound sound world platform
shell shell sim render sound world platform
platform/web/main.cpp shell sim render sound world platform
tools/tiled tools world
tools/tiled/tests tools tests world
tools/assetgen tools render world
tools/assetgen/tests tools render world
tools/sim_link_check.cpp sim world platform
tools/simbench shell sim render world platform
tools/bench shell sim render world platform
tools/soundbench sound world platform
TABLE
)
while read -r folder allowed; do
    for f in $(files_of "$folder"); do
        while IFS= read -r inc; do
            top=${inc%%/*}
            case " $allowed " in *" $top "*) ;; *) echo "$f includes $inc"; fail=1 ;; esac
        done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$f")
        case "$f" in render/gl.h|platform/*|tools/bench/*) continue ;; esac
        if grep -Eq '^#include <(GL/|SDL|windows\.h|emscripten)' "$f"; then
            echo "$f includes a GL or window-system header"
            fail=1
        fi
    done
done <<<"$table"
# The program entries are the top: nothing includes them.
if grep -rEn '^#include "platform/web/main' --include='*.cpp' --include='*.h' . 2>/dev/null | grep -q .; then
    echo "the web entry is included by another file"
    fail=1
fi
# What differs between Windows and the rest lives in platform/ (and the GL header's guard).
for f in $(grep -rlE '^[[:space:]]*#[[:space:]]*if.*_WIN32' shell world sim render sound); do
    [ "$f" = render/gl.h ] || { echo "$f tests _WIN32 outside platform/"; fail=1; }
done
[ $fail = 0 ] && echo "ok: every folder includes only the folders below it"
exit $fail
