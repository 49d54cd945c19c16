#!/usr/bin/env bash
# The real game in a real window: starts a virtual X server, runs the game on it, types on the
# window's keyboard and checks that Escape, then a close request from the window, and then a step
# onto an exit switch (with its notice dismissed) each end the game with status 0. Run from the repository root (the game reads build.cnt from there):
#
#   bash tests/window/real_window_test.sh path/to/grotmere
#
# Set GROTMERE_SCREENSHOT=file.png to keep a picture of the window as the game showed it.
set -u

readonly caption_prefix='Grotmere Alpha Build '
readonly exit_timeout_s=20
readonly window_timeout_s=15

fail() {
    echo "real_window_test: FAIL: $*" >&2
    if [[ -s "${work:-}/game.err" ]]; then
        echo "--- the game's standard error:" >&2
        cat "$work/game.err" >&2
    fi
    exit 1
}

game=${1:-}
[[ -n "$game" ]] || fail "usage: bash tests/window/real_window_test.sh path/to/grotmere"
[[ -x "$game" ]] || fail "no executable game at $game"
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
probe=$(cd "$(dirname "$0")" && pwd)/x11_probe.py
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing; install the Debian packages xvfb, xdotool and xfonts-base"
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# -displayfd lets the server pick a free display and tells us which once it accepts clients, so
# parallel runs and a desktop's own :0 are no trouble. -br: a black root, no stipple.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    local waited=0
    until [[ -s "$work/display" ]]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(tail -5 "$work/xvfb.log")"
        ((waited++ < 100)) || fail "Xvfb gave no display number within 10 s"
        sleep 0.1
    done
    DISPLAY=":$(head -1 "$work/display")"
    export DISPLAY
}

# The game in the given directory (the repository root when none is given).
start_game() {
    (cd "${1:-.}" && exec "$game") >"$work/game.out" 2>"$work/game.err" </dev/null &
    game_pid=$!
}

# Prints the id of the game's window once it is mapped. Polled rather than xdotool's --sync, so a
# game that dies on start-up is reported at once and not after the whole timeout.
find_window() {
    local window waited=0
    while :; do
        window=$(xdotool search --onlyvisible --name "^$caption_prefix" 2>/dev/null | head -1)
        [[ -n "$window" ]] && break
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared"
        ((waited++ < window_timeout_s * 10)) ||
            fail "no window named '$caption_prefix...' appeared within $window_timeout_s s"
        sleep 0.1
    done
    echo "$window"
}

check_window_size() {
    local geometry
    geometry=$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: *//p')
    [[ "$geometry" == 820x470 ]] || fail "the window's client area is $geometry, not 820x470"
}

# Waits for the game to end by itself and fails unless it ended with status 0.
expect_clean_exit() {
    local why=$1 waited=0
    while kill -0 "$game_pid" 2>/dev/null; do
        ((waited++ < exit_timeout_s * 10)) ||
            fail "the game did not end within $exit_timeout_s s after $why"
        sleep 0.1
    done
    local status=0
    wait "$game_pid" || status=$?
    game_pid=
    ((status == 0)) || fail "the game ended with status $status after $why"
}

run_with_keys() {
    start_game
    local window
    window=$(find_window) || exit 1
    check_window_size "$window"
    # No window manager runs, so the focus is given by hand; the keys then arrive as real key
    # presses from the X server, not as synthetic events sent to the window.
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    xdotool key --delay 80 Right Left a space KP_4 shift+Up || fail "xdotool could not type"
    sleep 0.5
    if ! kill -0 "$game_pid" 2>/dev/null; then
        local status=0
        wait "$game_pid" || status=$?
        game_pid=
        fail "the game ended (status $status) before Escape was pressed"
    fi
    if [[ -n "${GROTMERE_SCREENSHOT:-}" ]] && command -v python3 >/dev/null; then
        python3 "$probe" grab "$window" "$GROTMERE_SCREENSHOT" || fail "could not grab the window"
    fi
    xdotool key Escape || fail "xdotool could not type Escape"
    expect_clean_exit "Escape"
}

run_with_close_request() {
    if ! command -v python3 >/dev/null; then
        echo "real_window_test: no python3, the close-button check is skipped"
        return
    fi
    start_game
    local window
    window=$(find_window) || exit 1
    python3 "$probe" close "$window" || fail "could not send the close request"
    expect_clean_exit "the window was asked to close"
}

# A one-room game whose exit switch is one step to the right of the start: the step ends the game
# as an escape, with the switch's text in a message box that Return dismisses.
run_to_the_exit() {
    local dir=$work/exit_game
    mkdir -p "$dir/bifs"
    cp build.cnt "$dir/" || fail "no build.cnt in $(pwd)"
    cp bifs/gegenstand.bif bifs/waffen.bif bifs/prototypen.bif bifs/Tastatur.bif "$dir/bifs/"
    echo 'TPlayer { name = "P"  hp = 9  hpmax = 9  x = 1  y = 1 }' >"$dir/bifs/player.bif"
    {
        printf '5\n3\n11111\n10001\n11111\n'
        echo 'TSchalter { name = "Stair"  x = 2  y = 1  art = "exit"  comment = "Out!" }'
    } >"$dir/bifs/karte2.map"
    start_game "$dir"
    local window box= waited=0
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    xdotool key Right || fail "xdotool could not type"
    # The notice is a window of its own with the game's caption as its title; xdotool's search
    # does not see SDL's message box, xwininfo does.
    command -v xwininfo >/dev/null || fail "xwininfo is missing; install the Debian package x11-utils"
    local game_hex
    game_hex=$(printf '0x%x' "$window")
    while kill -0 "$game_pid" 2>/dev/null; do
        box=$(xwininfo -root -tree 2>/dev/null | grep "\"$caption_prefix" |
            awk '{print $1}' | grep -vx "$game_hex" | head -1)
        if [[ -n "$box" ]]; then
            xdotool windowfocus --sync "$box" && xdotool key Return ||
                fail "could not dismiss the notice"
            break
        fi
        ((waited++ < window_timeout_s * 10)) || fail "no notice appeared at the exit"
        sleep 0.1
    done
    expect_clean_exit "the player reached the exit"
    # Without a message box the notice goes to standard error.
    [[ -n "$box" ]] || grep -q "Out!" "$work/game.err" || fail "the game ended without the notice"
}

start_xvfb
run_with_keys
run_with_close_request
run_to_the_exit
echo "real_window_test: passed on display $DISPLAY"
