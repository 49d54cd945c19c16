#!/usr/bin/env bash
# The speed figures of the largest map (256 x 256, a fifth walls, 1,000 lights, 1,000 monsters),
# each as a share of the 50 ms pass, with the issue's target beside it; peak memory of a game on
# that map; and the idle window's CPU under Xvfb on the shipped map and on that map. Run from
# anywhere:
#
#   bash tools/bench_report.sh
#
# It configures and builds a Release tree (build-release, or $BUILD_DIR) with the benchmarks. CPU
# times are medians of three runs of each benchmark. IDLE_SECONDS (default 10) is how long each
# idle window is measured; the game's CPU time is read from /proc/PID/task/*/schedstat before and
# after.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}
idle_seconds=${IDLE_SECONDS:-10}
work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGROTMERE_BENCH=ON >/dev/null
ninja -C "$build" -j2 grotmere_bench grotmere grotmere-sim >/dev/null
python3 "$root/tools/large_map.py" "$work/large"

# The report goes to its own file: the games some benchmarks play print their diagnostic lines.
"$build/grotmere_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/bench.json" --benchmark_out_format=json >/dev/null 2>&1

# Peak resident memory of a short game, in MB.
peak_mb() {
    (cd "$1" && /usr/bin/time -f %M "$build/grotmere-sim" --passes 40 2>&1 >/dev/null) |
        tail -1 | awk '{printf "%.1f", $1 / 1024}'
}

# The game's CPU time in nanoseconds, every thread, from the scheduler's own account.
cpu_ns() {
    local total=0 task
    for task in /proc/"$1"/task/*/schedstat; do
        total=$((total + $(awk '{print $1}' "$task")))
    done
    echo "$total"
}

# The window idling on a game folder: percent of one core.
idle_cpu() {
    # Its recordings and morgue files go to the scratch folder, not the player's own.
    (cd "$1" && XDG_DATA_HOME="$work/data" exec "$build/grotmere" >/dev/null 2>&1) &
    game_pid=$!
    sleep 3  # start-up, the first frames
    local before after
    before=$(cpu_ns "$game_pid")
    sleep "$idle_seconds"
    after=$(cpu_ns "$game_pid")
    kill "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null || true
    game_pid=
    awk -v ns="$((after - before))" -v s="$idle_seconds" 'BEGIN {printf "%.2f", ns / 1e7 / s}'
}

idle_shipped=n/a
idle_large=n/a
if command -v Xvfb >/dev/null; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
    export DISPLAY=":$(head -1 "$work/display")"
    idle_shipped=$(idle_cpu "$root")
    idle_large=$(idle_cpu "$work/large")
fi

python3 - "$work/bench.json" "$(peak_mb "$root")" "$(peak_mb "$work/large")" \
    "$idle_shipped" "$idle_large" <<'PY'
import json, sys

bench = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
         if b.get("aggregate_name") == "median"}
pass_us = 50_000.0

def us(name):
    b = bench[name]
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
    return b["cpu_time"] * scale

rows = [
    ("whole turn", "BM_WholeTurn", 150.0),
    ("whole turn, player walking", "BM_WholeTurnWalking", 150.0),
    ("whole pass with a turn", "BM_WholePassWithTurn", None),
    ("pass without a turn, before drawing", "BM_PassWithoutTurn", 100.0),
    ("frame, whole screen drawn", "BM_FrameWholeScreen", 300.0),
    ("frame, picture unchanged", "BM_FrameUnchanged", 300.0),
    ("idle pass, whole (frame not looked at)", "BM_IdlePass/0", None),
    ("idle pass, caches emptied before", "BM_IdlePass/1/iterations:400", None),
    ("sight and light of a turn", "BM_TurnSightAndLight", None),
    ("monsters' turn", "BM_MonstersTurn", None),
    ("missile pass, 100 in flight", "BM_MissilePass", None),
    ("in_sight r 5, tiles cold", "BM_InSight/256", 0.25),
    ("in_sight r 5, tiles cached", "BM_InSight/1", 0.15),
    ("lights of reach 20, darkened after", "BM_FarLights/20", None),
    ("start-up, largest map", "BM_StartUpLargestMap", 8000.0),
]
print("Largest map: 256 x 256, 1,000 lights, 1,000 monsters. Release, CPU time, medians of 3.")
print("%-38s %12s %9s %10s %13s %6s" % ("figure", "time", "of 50 ms", "target", "allocations", ""))
for label, name, target in rows:
    t = us(name)
    allocs = bench[name].get("allocs_per_iter", 0.0)
    shown = "%.3f us" % t if t < 10 else "%.0f us" % t
    goal = "" if target is None else ("%.0f us" % target if target >= 10 else "%.2f us" % target)
    verdict = "" if target is None else ("ok" if t <= target else "MISSED")
    print("%-38s %12s %8.4f%% %10s %13.3f %6s" % (label, shown, 100 * t / pass_us, goal, allocs,
                                                  verdict))
far = bench["BM_FarLights/20"]
print("%-38s %9.2f ns %31s %s" % ("reach 20, per cell in reach", far["per_cell"] * 1e9, "5 ns",
                                  "ok" if far["per_cell"] * 1e9 <= 5 else "MISSED"))
sim = bench["BM_SimulatorRandomKeys"]["passes/s"]
print("%-38s %9.0f passes/s %17s %s" % ("grotmere-sim --keys, shipped game", sim, ">= 100000",
                                        "ok" if sim >= 100_000 else "MISSED"))
peak_shipped, peak_large, idle_shipped, idle_large = sys.argv[2:6]
print("%-38s %9s MB %20s" % ("peak memory, shipped map", peak_shipped, ""))
print("%-38s %9s MB %20s %s" % ("peak memory, largest map", peak_large, "12 MB",
                               "ok" if float(peak_large) <= 12 else "MISSED"))
for label, value in (("idle window CPU, shipped map", idle_shipped),
                     ("idle window CPU, largest map", idle_large)):
    verdict = "" if value == "n/a" else ("ok" if float(value) < 0.5 else "MISSED")
    print("%-38s %9s %% of a core %10s %s" % (label, value, "< 0.5 %", verdict))
PY
