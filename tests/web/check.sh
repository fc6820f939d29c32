# The web build, made (or brought up to date) in build-web/, tested in headless Chromium
# against the native build: same dumps, same picture, keys, Escape.
#   bash tests/web/check.sh [NATIVE_BUILD_DIR]     (default: build/, whose kav is the native game)
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$src/build}" && pwd)
start=$(date +%s)
emcmake cmake -S "$src" -B "$src/build-web" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$src/build-web" -j2
page=$src/build-web/www
built=$(date +%s)
python3 "$src/tests/web/web_test.py" "$src" "$page" "$native/kav" "$native/tests/kav_web_reference"
echo "web page: $(du -cb "$page"/kav.* | tail -1 | cut -f1) bytes ($(cd "$page" && du -b kav.* | tr '\t\n' '  '))"
echo "web stage: $((built - start)) s to build, $(($(date +%s) - built)) s to test"
