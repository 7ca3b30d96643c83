#!/usr/bin/env bash
# The program as a whole, under Xvfb with a private PulseAudio server playing into a null sink
# and a fresh home folder per run: how long from exec until the main window is mapped (the
# time the start-up message boxes and the tip of the day waited for the user taken off), the resident memory
# 10 s after start, and how often its threads woke up in the 30 s after that, at rest.
#
#   bash scripts/program-figures.sh [program] [runs]     (default: build/app/harmik, 5 runs)
#
# Wake-ups are counted from /proc/PID/task/*/schedstat, whose third field counts the times a
# thread was put on a CPU: the sum over all threads after 40 s minus the sum after 10 s.
set -euo pipefail
cd "$(dirname "$0")/.."
HARMIK=$(realpath "${1:-build/app/harmik}")
RUNS=${2:-5}

work=$(mktemp -d)
xvfb="" pulse=""
trap 'kill $xvfb $pulse 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/run" HARMIK_LANGUAGE=ru
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -u 3 display
export DISPLAY=":$display"

HOME="$work/pulse-home" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=null" --load=module-native-protocol-unix \
    >"$work/pulse.log" 2>&1 &
pulse=$!
for _ in $(seq 1 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink null

now_ns() { date +%s%N; }
visible() { xdotool search --all --pid "$1" --onlyvisible --name "$2" 2>/dev/null | head -n1; }
schedules() { # thread id and the times it was put on a CPU, for every thread of the process
    for t in /proc/"$1"/task/*; do
        echo "${t##*/} $(awk '{ print $3 }' "$t/schedstat" 2>/dev/null) $(cat "$t/comm" 2>/dev/null)"
    done
}
wakeups() { # between two lists of schedules: threads that ended count as nothing
    awk 'NR == FNR { was[$1] = $2; next } { n += $2 - ($1 in was ? was[$1] : 0) } END { print n + 0 }' "$1" "$2"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for run in $(seq 1 "$RUNS"); do
    export HOME="$work/home$run" XDG_DATA_HOME="$work/data$run"
    mkdir -p "$HOME"
    start=$(now_ns)
    "$HARMIK" >"$work/out$run.log" 2>&1 &
    pid=$!
    waited=0 mapped=""
    while [ -z "$mapped" ]; do
        if [ -n "$(visible "$pid" '^ H A R M I K - ')" ]; then
            mapped=$(now_ns)
        elif box=$(visible "$pid" '^ H A R M I K$') && [ -n "$box" ]; then
            shown=$(now_ns)
            xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
            while [ -n "$(visible "$pid" '^ H A R M I K$')" ]; do :; done
            waited=$((waited + $(now_ns) - shown))
        elif tip=$(visible "$pid" 'ЗАМЕТКА ДНЯ$') && [ -n "$tip" ]; then
            # The tip of the day comes before the main window; its reading time is the user's.
            shown=$(now_ns)
            xdotool windowfocus --sync "$tip" key Escape 2>/dev/null || true
            while [ -n "$(visible "$pid" 'ЗАМЕТКА ДНЯ$')" ]; do :; done
            waited=$((waited + $(now_ns) - shown))
        fi
    done
    echo $(((mapped - start - waited) / 1000000)) >>"$work/mapped"
    sleep "$(awk -v s="$start" -v n="$(now_ns)" 'BEGIN { print 10 - (n - s) / 1e9 }')"
    awk '/^Rss:/ { printf "%.1f\n", $2 / 1024 }' /proc/"$pid"/smaps_rollup >>"$work/rss"
    schedules "$pid" >"$work/before$run"
    sleep 30
    schedules "$pid" >"$work/after$run"
    wakeups "$work/before$run" "$work/after$run" >>"$work/wakeups"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "run $run: mapped $(tail -n1 "$work/mapped") ms, $(tail -n1 "$work/rss") MiB at 10 s," \
        "$(tail -n1 "$work/wakeups") wake-ups at rest in 30 s"
done
echo "wake-ups at rest of each thread of the last run:"
awk 'NR == FNR { was[$1] = $2; next } { printf "  %-16s %d\n", $3, $2 - ($1 in was ? was[$1] : 0) }' \
    "$work/before$RUNS" "$work/after$RUNS"
echo "median: exec to mapped $(median <"$work/mapped") ms," \
    "resident $(median <"$work/rss") MiB at 10 s, $(median <"$work/wakeups") wake-ups in 30 s at rest"
