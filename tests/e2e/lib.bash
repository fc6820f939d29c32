# Helpers shared by the end-to-end scripts (sourced, not run as a test).

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# Window runs play their sound into SDL's null audio driver: nothing to say on stderr, the
# same on a machine with a sound card. (sound.sh chooses its drivers itself.)
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# A fresh working directory with the game's maps, pictures and sounds, so world.log lands there.
make_workdir() {
    work=$(mktemp -d)
    trap 'stop_games; rm -rf "$work"' EXIT
    ln -s "$src/map" "$work/map"
    ln -s "$src/gfx" "$work/gfx"
    ln -s "$src/sfx" "$work/sfx"
    cd "$work" || exit 1
}

# world.log after loading the first screen.
check_world_log() {
    printf '    loading scene\n  loading scenegg objects\n' > expected.log
    cmp -s expected.log world.log || { echo "world.log:"; cat -A world.log; fail "world.log is not the first screen's two lines"; }
}

# The value of a top-level key of a world dump (written one key per line).
dump_value() { sed -n "s/^ \"$2\": \\(.*\\),\$/\\1/p; s/^ \"$2\": \\([^,]*\\)\$/\\1/p" "$1" | head -n 1; }

# --- Under X ---

# Starts the game in its own process group (a message box runs in a child process of its
# own); its pid in $pid. Every game started is killed when the script ends.
games=()
start_game() {
    setsid "$kav" "$@" &
    pid=$!
    games+=("$pid")
}
stop_games() {
    local p
    for p in "${games[@]}"; do kill -KILL -- "-$p" 2> /dev/null; done
}

# Id of the window whose name is exactly $1 (message boxes included), waiting up to $2 s.
wait_window() {
    local name=$1 limit=${2:-10} id i
    for ((i = 0; i < limit * 20; i++)); do
        id=$(xwininfo -root -tree | awk -v n=" \"$name\": " 'index($0, n) {print $1; exit}')
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

# Waits up to $1 s for the command after it to succeed.
wait_until() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit * 20; i++)); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# Whether window $1 is mapped and viewable.
window_viewable() { xwininfo -id "$1" 2> /dev/null | grep -q IsViewable; }

# Waits up to $2 s for window $1 to be mapped: from then on it takes focus and keys.
wait_mapped() { wait_until "${2:-10}" window_viewable "$1"; }

# What a game that shows no window is doing: the windows there are and each thread's stack.
report_stuck() {
    ps -p "$1" -o pid,stat,etime,cmd
    xwininfo -root -tree 2>&1 | head -n 20
    command -v gdb > /dev/null && gdb -p "$1" -batch -ex 'thread apply all bt 12' 2>&1 | grep -E '^(#|Thread)'
}

# Waits up to $2 s for no window named $1.
wait_no_window() {
    local name=$1 limit=${2:-10} i
    for ((i = 0; i < limit * 20; i++)); do
        xwininfo -root -tree | awk -v n=" \"$name\": " 'index($0, n) {f=1} END {exit !f}' || return 0
        sleep 0.05
    done
    return 1
}

# Waits up to $2 s for process $1 to end; its exit status in $status.
wait_exit() {
    local pid=$1 limit=${2:-10} i
    for ((i = 0; i < limit * 20; i++)); do
        if ! kill -0 "$pid" 2> /dev/null; then
            wait "$pid"
            status=$?
            return 0
        fi
        sleep 0.05
    done
    kill -KILL "$pid" 2> /dev/null
    return 1
}

# Holds a key down long enough for several frames to see it.
hold_key() {
    xdotool keydown "$1"
    sleep "${2:-0.4}"
    xdotool keyup "$1"
    sleep 0.05
}

# Whether window $1 is there, captioned $2 and mapped.
box_up() {
    local info
    info=$(xwininfo -id "$1" 2> /dev/null) || return 1
    [[ $info == *"\"$2\""* && $info == *IsViewable* ]]
}

# Answers a message box with a key (Return: first button; Escape: No). A box takes keys only
# once it is up, so the key is sent again until the box has gone. The next box may be given
# the same window id as this one: a key goes only to a window that still bears this caption,
# and a key is sent again only when the last one was seen to miss.
answer_box() {
    local id i j
    id=$(wait_window "$1" 30) || { report_stuck "$pid"; fail "no box captioned '$1'"; }
    for ((i = 0; i < 200; i++)); do box_up "$id" "$1" && break; sleep 0.05; done
    for ((i = 0; i < 10; i++)); do
        sleep 0.2
        box_up "$id" "$1" || return 0
        xdotool key --window "$id" "$2" 2> /dev/null
        for ((j = 0; j < 20; j++)); do box_up "$id" "$1" || return 0; sleep 0.05; done
    done
    fail "the box '$1' did not take $2"
}

# Size and place of a window as WxH+X+Y.
geometry() { xwininfo -id "$1" | awk '/-geometry/ {print $2}'; }
