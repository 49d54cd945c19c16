#!/usr/bin/env bash
# The real game in a real window: starts a virtual X server, runs the game on it, types on the
# window's keyboard and checks that Escape answered with Y, then a close request from the window,
# and then a step onto an exit switch (with its notice, drawn in the picture, dismissed) each end
# the game with status 0; opens the help
# with F1, compares its picture with grotmere-sim's (found beside the game) and closes it again.
# Run from the repository root (the game reads build.cnt from there):
#
#   bash tests/window/real_window_test.sh path/to/grotmere
#
# Set GROTMERE_SCREENSHOT=file.png to keep a picture of the window as the game showed it.
set -u

readonly caption_prefix='Grotmere Alpha Build '
readonly exit_timeout_s=20
readonly window_timeout_s=30

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
# The game notes the data folders it has started in; keep that list out of the user's home.
export XDG_DATA_HOME="$work/data"
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
    Xvfb -displayfd 3 -screen 0 2048x1536x24 -br -nolisten tcp 3>"$work/display" \
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
    # Under load the server names its display a moment before a client can use it.
    waited=0
    until xdpyinfo >/dev/null 2>&1; do
        ((waited++ < 100)) || fail "the display $DISPLAY took no client within 10 s"
        sleep 0.1
    done
}

# A game built with the sanitizers checks for leaks at exit; those inside the system libraries
# that the window loads (D-Bus, the X libraries, the GL driver) are not the game's and are
# suppressed. The software GL driver is loaded and unloaded again by the X libraries, after which
# its leaks could not be told by their library any more: for a sanitized game it is loaded with
# the game (after the sanitizer's runtime, which must come first) and so stays.
lsan_suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_system_libraries.supp
export LSAN_OPTIONS="suppressions=$lsan_suppressions:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
game_preload=
sanitizer_runtime=$(ldd "$game" 2>/dev/null | awk '/libasan/ {print $3}')
if [[ -n "$sanitizer_runtime" ]]; then
    game_preload=$sanitizer_runtime
    for driver in /usr/lib/*/dri/swrast_dri.so; do
        [[ -f "$driver" ]] && game_preload="$game_preload $driver"
    done
fi

# The game with these arguments, in the repository root or, with game_dir set, in that folder.
start_game() {
    launch_game "$@"
    # A loaded machine now and then refuses a client for a while (Xlib tries again for some
    # seconds before it gives up): SDL then finds no display, and the game says so, on standard
    # error and in a message box, which may stand until it is answered. A few more starts,
    # further apart each time, tell that from a game that cannot open its window. Watched here,
    # where the game is this shell's child, so that its end is seen at once.
    local waited=0 starts=1
    while ((waited++ < window_timeout_s * 10)); do
        if ! grep -q "no display found" "$work/game.err"; then
            kill -0 "$game_pid" 2>/dev/null || return
            xdotool search --onlyvisible --name "^$caption_prefix" >/dev/null 2>&1 && return
            sleep 0.1
            continue
        fi
        ((starts++ < 5)) || return
        echo "real_window_test: the display refused the game; starting it again" >&2
        kill -KILL "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
        sleep "$starts"
        launch_game "$@"
        waited=0
    done
}

launch_game() {
    local dir=${game_dir:-.}
    if [[ -n "$game_preload" ]]; then
        (cd "$dir" && LD_PRELOAD="$game_preload" exec "$game" "$@") \
            >"$work/game.out" 2>"$work/game.err" </dev/null &
    else
        (cd "$dir" && exec "$game" "$@") >"$work/game.out" 2>"$work/game.err" </dev/null &
    fi
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
    local want=${2:-820x470} geometry waited=0
    # A change of size reaches the X server a moment after the key that asked for it.
    while :; do
        geometry=$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: *//p')
        [[ "$geometry" == "$want" ]] && return
        ((waited++ < 30)) || fail "the window's client area is $geometry, not $want"
        sleep 0.1
    done
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

# Escape asks whether to end the game, and only Y ends it.
end_with_escape() {
    xdotool key Escape || fail "xdotool could not type Escape"
    sleep 0.3
    kill -0 "$game_pid" 2>/dev/null || fail "Escape ended the game without asking ($1)"
    xdotool key y || fail "xdotool could not type y"
    expect_clean_exit "$1"
}

# The desktop finds the window's menu entry by its class, and shows the game's icon for it.
check_desktop_identity() {
    local wanted
    wanted=$(sed -n 's/^StartupWMClass=//p' packaging/org.grotmere.Grotmere.desktop)
    xprop -id "$1" WM_CLASS | grep -q "\"$wanted\"" ||
        fail "the window's class is not the desktop entry's $wanted: $(xprop -id "$1" WM_CLASS)"
    xprop -id "$1" _NET_WM_ICON | grep -q "not found" && fail "the window has no icon"
    return 0
}

run_with_keys() {
    start_game
    local window
    window=$(find_window) || exit 1
    check_window_size "$window"
    check_desktop_identity "$window"
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
    end_with_escape "Escape"
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
    # The closed game is kept to be continued; the steps after this one start new games.
    rm -rf "$XDG_DATA_HOME/grotmere/unfinished"
}

# The help covers the whole window, so its picture depends only on the key-binding file and must be
# the simulator's to the pixel. Closed again with F1, the game is back and Escape quits it.
run_with_help() {
    local sim
    sim="$(dirname "$game")/grotmere-sim"
    if [[ ! -x "$sim" ]] || ! command -v python3 >/dev/null; then
        echo "real_window_test: no grotmere-sim or python3 beside the game, the help check is skipped"
        return
    fi
    printf 'f1\n' >"$work/help.keys"
    "$sim" --dir . --keys "$work/help.keys" --screenshot "$work/help-sim.png" >/dev/null ||
        fail "grotmere-sim could not draw the help"
    start_game
    local window
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    xdotool key F1 || fail "xdotool could not type F1"
    sleep 0.5
    python3 "$probe" grab "$window" "$work/help-window.png" || fail "could not grab the window"
    python3 "$probe" same "$work/help-window.png" "$work/help-sim.png" ||
        fail "the help in the window is not the simulator's help"
    xdotool key Escape || fail "xdotool could not type Escape"
    sleep 0.5
    kill -0 "$game_pid" 2>/dev/null || fail "Escape ended the game instead of closing the help"
    python3 "$probe" grab "$window" "$work/closed.png" || fail "could not grab the window"
    if python3 "$probe" same "$work/closed.png" "$work/help-sim.png" 2>/dev/null; then
        fail "the help did not close"
    fi
    end_with_escape "Escape after the help was closed"
}

# A game played in the window is recorded as it goes; grotmere-sim plays the recording back to the
# same last picture, pixel for pixel, and writes the same morgue file (but for its date). Runs
# after the help was once opened, so the first-start hint no longer shows in the window. The keys
# come a few passes apart: the window skips the frames of the idle passes between them, and the
# picture must still be the one the simulator draws.
run_recorded_game() {
    local sim
    sim="$(dirname "$game")/grotmere-sim"
    [[ -x "$sim" ]] || { echo "real_window_test: no grotmere-sim, the recording check is skipped"; return; }
    start_game --seed 5 --record "$work/game.keys" --morgue "$work/window-morgue.txt"
    local window
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    local key
    for key in Right Right Down 4 Down Left L W F2 Up Escape shift+1 Up; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.15
    done
    sleep 0.5
    python3 "$probe" grab "$window" "$work/recorded-window.png" || fail "could not grab the window"
    end_with_escape "Escape in a recorded game"
    [[ -s "$work/game.keys" ]] || fail "the game wrote no recording"
    grep -q "morgue file: $work/window-morgue.txt" "$work/game.err" ||
        fail "the game did not name its morgue file on standard error"
    "$sim" --dir . --keys "$work/game.keys" --screenshot "$work/recorded-sim.png" \
        --morgue "$work/sim-morgue.txt" >/dev/null || fail "grotmere-sim could not play the recording"
    python3 "$probe" same "$work/recorded-window.png" "$work/recorded-sim.png" ||
        fail "the recording played back in grotmere-sim ends on another picture"
    grep -qx "Recording: $work/game.keys" "$work/window-morgue.txt" ||
        fail "the morgue file does not name its recording"
    diff <(grep -v '^Date: \|^Recording: ' "$work/window-morgue.txt") \
        <(grep -v '^Date: ' "$work/sim-morgue.txt") ||
        fail "the morgue files of the game and of its playback differ"
    seek_in_the_replay
}

# The recording played back in the window, sent to its end, back and forth, then stopped.
seek_in_the_replay() {
    start_game --replay "$work/game.keys" --speed 0.125
    local window key
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the replay's window"
    for key in End Left Home Page_Down g 2 Return Right space Left; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.15
    done
    xdotool key Escape || fail "xdotool could not type Escape"
    expect_clean_exit "Escape in a replay sent back and forth"
}

# --scale starts the window at a whole multiple of the picture. F11 (and Alt+Return) asks for the
# whole screen;
# with no window manager under Xvfb the window keeps its size and SDL draws for the screen's size,
# so what shows is the picture moved, and F11 again puts it back.
run_with_scale_and_fullscreen() {
    start_game --scale 2
    local window
    window=$(find_window) || exit 1
    check_window_size "$window" 1640x940
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    sleep 0.3
    python3 "$probe" grab "$window" "$work/scaled.png" || fail "could not grab the window"
    xdotool key F11 || fail "xdotool could not type F11"
    sleep 0.5
    python3 "$probe" grab "$window" "$work/full.png" || fail "could not grab the window"
    if python3 "$probe" same "$work/scaled.png" "$work/full.png" 2>/dev/null; then
        fail "F11 did not change to fullscreen"
    fi
    xdotool key F11 || fail "xdotool could not type F11"
    sleep 0.5
    python3 "$probe" grab "$window" "$work/back.png" || fail "could not grab the window"
    python3 "$probe" same "$work/scaled.png" "$work/back.png" ||
        fail "F11 again did not give the window back"
    xdotool key alt+Return || fail "xdotool could not type Alt+Return"
    sleep 0.5
    python3 "$probe" grab "$window" "$work/full.png" || fail "could not grab the window"
    if python3 "$probe" same "$work/scaled.png" "$work/full.png" 2>/dev/null; then
        fail "Alt+Return did not change to fullscreen"
    fi
    xdotool key alt+Return || fail "xdotool could not type Alt+Return"
    sleep 0.5
    python3 "$probe" grab "$window" "$work/back.png" || fail "could not grab the window"
    python3 "$probe" same "$work/scaled.png" "$work/back.png" ||
        fail "Alt+Return again did not give the window back"
    end_with_escape "Escape in a scaled window"
}

# A one-room game whose exit switch is one step to the right of the start: the step ends the game
# as an escape, with the switch's text drawn in the picture as grotmere-sim draws it, and no
# message box; Return goes on to the end screen.
run_to_the_exit() {
    local dir=$work/exit_game sim
    sim="$(dirname "$game")/grotmere-sim"
    mkdir -p "$dir/bifs"
    cp build.cnt "$dir/" || fail "no build.cnt in $(pwd)"
    cp bifs/gegenstand.bif bifs/waffen.bif bifs/prototypen.bif bifs/Tastatur.bif "$dir/bifs/"
    echo 'TPlayer { name = "P"  hp = 9  hpmax = 9  level = 1  x = 1  y = 1 }' >"$dir/bifs/player.bif"
    {
        printf '5\n3\n11111\n10001\n11111\n'
        echo 'TSchalter { name = "Stair"  x = 2  y = 1  art = "exit"  comment = "Out!" }'
    } >"$dir/bifs/karte2.map"
    game_dir=$dir start_game
    local window key
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    # F1 twice: the help, shown and closed, takes the first-start hint of the new folder away.
    for key in F1 F1 Right; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.3
    done
    sleep 0.5
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended without waiting on its notice"
    command -v xwininfo >/dev/null || fail "xwininfo is missing; install the Debian package x11-utils"
    xwininfo -root -tree 2>/dev/null | grep "\"$caption_prefix" | grep -vq "$(printf '0x%x' "$window")" &&
        fail "the notice came in a message box of its own"
    python3 "$probe" grab "$window" "$work/exit-window.png" || fail "could not grab the window"
    printf 'f1\nf1\nright\n' >"$work/exit.keys"
    "$sim" --dir "$dir" --keys "$work/exit.keys" --screenshot "$work/exit-sim.png" >/dev/null ||
        fail "grotmere-sim could not play to the exit"
    python3 "$probe" same "$work/exit-window.png" "$work/exit-sim.png" ||
        fail "the notice in the window is not the one grotmere-sim draws"
    xdotool key Return || fail "xdotool could not type Return"
    # After the notice the end screen tells the run in words and waits for Escape.
    sleep 0.5
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended without its end screen"
    xdotool key Escape || fail "xdotool could not type Escape"
    expect_clean_exit "the player reached the exit"
}

# Without --seed every game is seeded from the clock: two games started a moment apart are
# recorded with different seeds.
run_two_games_from_the_clock() {
    local recordings="$XDG_DATA_HOME/grotmere/recordings" window round
    rm -rf "$recordings"
    for round in 1 2; do
        start_game
        window=$(find_window) || exit 1
        xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
        end_with_escape "Escape in game $round"
    done
    local seeds
    seeds=$(head -qn1 "$recordings"/*.keys | sort -u | wc -l)
    ((seeds == 2)) || fail "two games without --seed recorded $seeds different seeds: $(head -qn1 "$recordings"/*.keys | tr '\n' ' ')"
}

# Six presses 10 ms apart, faster than the passes, walk six steps; a click on the map travels
# there. The recording holds the steps one pass each, and grotmere-sim ends where the game did.
run_with_quick_keys_and_a_click() {
    local sim
    sim="$(dirname "$game")/grotmere-sim"
    [[ -x "$sim" ]] || { echo "real_window_test: no grotmere-sim, the quick keys are skipped"; return; }
    start_game --seed 1 --record "$work/quick.keys"
    local window
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    xdotool key --delay 10 Right Right Right Right Right Right || fail "xdotool could not type"
    sleep 1
    # The cell (5, 5) of the map view, left in the start hall.
    xdotool mousemove --window "$window" 56 58 click 1 || fail "xdotool could not click"
    sleep 2
    # On a slow machine the travel may still be going: the first Escape then only stops it, and
    # the Y after it is a key the game leaves unbound.
    local round
    for round in 1 2; do
        xdotool key Escape || fail "xdotool could not type Escape"
        sleep 0.3
        xdotool key y || fail "xdotool could not type y"
        sleep 0.5
        kill -0 "$game_pid" 2>/dev/null || break
    done
    expect_clean_exit "Escape and Y after the quick keys"
    # One press (a hit "right" or a "+right") a pass; releases and focus may share its line.
    python3 -c 'import sys
presses = [l.split().count("right") + l.split().count("+right") for l in open(sys.argv[1])]
sys.exit(sum(presses) != 6 or max(presses) != 1)' "$work/quick.keys" ||
        fail "six quick presses did not become six passes of one step: $(cat "$work/quick.keys")"
    grep -qx left "$work/quick.keys" || fail "the click did not travel"
    "$sim" --dir . --keys "$work/quick.keys" --dump "$work/quick.json" >/dev/null ||
        fail "grotmere-sim could not play the recording"
    python3 -c 'import json, sys; p = json.load(open(sys.argv[1]))["player"]; sys.exit(p["x"] != 5)' \
        "$work/quick.json" || fail "the click did not travel to the cell clicked"
}

# A game in a generated dungeon names it in its recording, and grotmere-sim on the dungeon's
# folder plays the recording to the same last picture.
run_generated_dungeon() {
    local sim
    sim="$(dirname "$game")/grotmere-sim"
    [[ -x "$sim" ]] || { echo "real_window_test: no grotmere-sim, the generated game is skipped"; return; }
    start_game --new-dungeon --seed 11 --record "$work/dungeon.keys"
    local window key
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    # F1 twice: the help, shown and closed, takes the first-start hint of the new folder away.
    for key in F1 F1 1 6 5 Right Right Down L; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.15
    done
    sleep 0.5
    python3 "$probe" grab "$window" "$work/dungeon-window.png" || fail "could not grab the window"
    end_with_escape "Escape in a generated dungeon"
    grep -qx "# dungeon: generator [0-9]*, seed 11" "$work/dungeon.keys" ||
        fail "the recording does not name its dungeon"
    "$sim" --dir "$XDG_DATA_HOME/grotmere/dungeons/v2/11" --keys "$work/dungeon.keys" \
        --screenshot "$work/dungeon-sim.png" >/dev/null || fail "grotmere-sim could not play it"
    python3 "$probe" same "$work/dungeon-window.png" "$work/dungeon-sim.png" ||
        fail "the generated game played back in grotmere-sim ends on another picture"
}

# A close while the kept game is offered answers nothing: no morgue file, no line in the hall of
# fame, the note and the recording as they were, and the next start offers it again.
close_at_the_offer() {
    local kept=$1 window before scores_before
    before=$(md5sum <"$kept")
    scores_before=$(cat "$XDG_DATA_HOME/grotmere/scores" 2>/dev/null | wc -l)
    local morgues_before
    morgues_before=$(ls "$XDG_DATA_HOME/grotmere/morgue" 2>/dev/null | wc -l)
    start_game
    window=$(find_window) || exit 1
    sleep 0.5
    python3 "$probe" close "$window" || fail "could not send the close request at the offer"
    expect_clean_exit "the window was closed at the offer"
    [[ "$(head -1 "$XDG_DATA_HOME"/grotmere/unfinished/[0-9a-f]*[0-9a-f])" == "$kept" ]] ||
        fail "a close at the offer forgot the kept game"
    [[ "$(md5sum <"$kept")" == "$before" ]] || fail "a close at the offer changed the recording"
    [[ "$(cat "$XDG_DATA_HOME/grotmere/scores" 2>/dev/null | wc -l)" == "$scores_before" ]] ||
        fail "a close at the offer put the kept game in the hall of fame"
    [[ "$(ls "$XDG_DATA_HOME/grotmere/morgue" 2>/dev/null | wc -l)" == "$morgues_before" ]] ||
        fail "a close at the offer wrote a morgue file"
}

# A game whose window is closed, or whose process is killed (SIGKILL) once its keys are written
# out, is kept: the next start with --continue plays its recording back and goes on in the same
# file, which grotmere-sim then plays to the window's last picture.
run_continued_game() {
    local how=$1 sim
    sim="$(dirname "$game")/grotmere-sim"
    [[ -x "$sim" ]] || { echo "real_window_test: no grotmere-sim, the continued game is skipped"; return; }
    local window key kept
    start_game --seed 5
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    for key in 1 6 5 Right Right Down; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.15
    done
    if [[ "$how" == kill ]]; then
        # The recording is written out every 100 passes (5 s); a kill loses what came after.
        sleep 6
        kill -9 "$game_pid" && wait "$game_pid" 2>/dev/null
        game_pid=
    else
        python3 "$probe" close "$window" || fail "could not send the close request"
        expect_clean_exit "the window was closed"
        grep -q "the game is kept" "$work/game.err" || fail "the closed game was not kept"
    fi
    kept=$(head -1 "$XDG_DATA_HOME"/grotmere/unfinished/[0-9a-f]*[0-9a-f] 2>/dev/null)
    [[ -s "$kept" ]] || fail "the game $how was not kept"
    [[ "$how" == close ]] && close_at_the_offer "$kept"
    start_game --continue
    window=$(find_window) || exit 1
    xdotool windowfocus --sync "$window" || fail "could not focus the game's window"
    for key in Down Right; do
        xdotool key "$key" || fail "xdotool could not type $key"
        sleep 0.15
    done
    sleep 0.5
    python3 "$probe" grab "$window" "$work/continued-window.png" || fail "could not grab the window"
    end_with_escape "Escape in the continued game ($how)"
    local recording
    recording=$(sed -n 's/^grotmere: recording: //p' "$work/game.err")
    [[ "$recording" == "$kept" ]] || fail "the game $how was not continued in its recording"
    "$sim" --dir . --keys "$recording" --screenshot "$work/continued-sim.png" >/dev/null ||
        fail "grotmere-sim could not play the continued recording"
    python3 "$probe" same "$work/continued-window.png" "$work/continued-sim.png" ||
        fail "the continued game's one recording ends on another picture"
}

start_xvfb
run_two_games_from_the_clock
run_with_keys
run_with_close_request
run_with_help
run_recorded_game
run_with_scale_and_fullscreen
run_to_the_exit
run_with_quick_keys_and_a_click
run_generated_dungeon
run_continued_game close
run_continued_game kill
echo "real_window_test: passed on display $DISPLAY"
