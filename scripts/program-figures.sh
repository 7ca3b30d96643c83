#!/usr/bin/env bash
# The program as a whole, under Xvfb with a private PulseAudio server playing into a null sink
# and a fresh home folder per run: how long from exec until the main window is mapped (the
# time the start-up message boxes and the tip of the day waited for the user taken off), the
# resident memory 10 s after start, and how often its threads woke up and how much CPU they
# used in the 30 s after that, at rest.
#
#   bash scripts/program-figures.sh [program] [runs] [peer ...]
#
# Defaults: build/app/harmik, 5 runs, no peers. Each peer is another ear trainer's command
# (solfege, minuet), run in the same series, one run of each after each run of Harmik, so that
# the figures compare under the same load; for a peer, "mapped" is its first visible
# window.
#
# Wake-ups are counted from /proc/PID/task/*/schedstat, whose third field counts the times a
# thread was put on a CPU: the sum over all threads after 40 s minus the sum after 10 s. CPU
# is utime + stime of /proc/PID/stat over the same 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."
HARMIK=$(realpath "${1:-build/app/harmik}")
RUNS=${2:-5}
PEERS=("${@:3}")

work=$(mktemp -d)
xvfb="" pulse=""
watcher=""
trap 'kill $watcher $xvfb $pulse 2>/dev/null || true; rm -rf "$work"' EXIT
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

now_us() { echo "${EPOCHREALTIME/./}"; }
schedules() { # thread id and the times it was put on a CPU, for every thread of the process
    for t in /proc/"$1"/task/*; do
        echo "${t##*/} $(awk '{ print $3 }' "$t/schedstat" 2>/dev/null) $(cat "$t/comm" 2>/dev/null)"
    done
}
wakeups() { # between two lists of schedules: threads that ended count as nothing
    awk 'NR == FNR { was[$1] = $2; next } { n += $2 - ($1 in was ? was[$1] : 0) } END { print n + 0 }' "$1" "$2"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cpu_ticks() { awk '{ print $14 + $15 }' /proc/"$1"/stat; }

# Top-level windows as the X server maps and unmaps them, each line stamped (in µs) when it
# comes; waiting on these events rather than polling for windows leaves the CPU to the
# program that is starting.
exec {events}< <(stdbuf -oL xev -root -event substructure 2>/dev/null |
    while IFS= read -r line; do echo "${EPOCHREALTIME/./} $line"; done)
watcher=$!
# The next map, unmap or destroy of a window of process $1: sets kind, window and at.
next_window_event() {
    local stamp rest line
    while :; do
        if ! read -r -t 1 -u "$events" stamp rest; then
            kill -0 "$1" 2>/dev/null || { echo "the program ended before its window showed" >&2; exit 1; }
            continue
        fi
        case $rest in MapNotify* | UnmapNotify* | DestroyNotify*) ;; *) continue ;; esac
        kind=${rest%% *} at=$stamp
        read -r -u "$events" stamp line
        [[ $line =~ window\ (0x[0-9a-f]+) ]] || continue
        window=${BASH_REMATCH[1]}
        [ "$kind" = MapNotify ] && [[ $line == *"override YES"* ]] && continue # menus, tips
        [ "$kind" != MapNotify ] || [ "$(xdotool getwindowpid "$window" 2>/dev/null)" = "$1" ] ||
            continue
        return 0
    done
}

# Until the program's main window is mapped (sets mapped). Harmik's windows before it, a
# message box and the tip of the day, are answered; the time they were open is the user's
# and is summed in waited. For a peer, its first window.
await_window() {
    local pid=$1 name=$2
    local -A opened=()
    waited=0
    while next_window_event "$pid"; do
        if [ "$kind" != MapNotify ]; then
            if [ -n "${opened[$window]:-}" ]; then
                waited=$((waited + at - opened[$window]))
                unset "opened[$window]"
            fi
            continue
        fi
        [ "$name" = harmik ] || { mapped=$at; return; }
        case $(xdotool getwindowname "$window" 2>/dev/null) in
        ' H A R M I K - '*) mapped=$at; return ;;
        ' H A R M I K')
            opened[$window]=$at
            xdotool windowfocus --sync "$window" key Return 2>/dev/null || true ;;
        *'ЗАМЕТКА ДНЯ')
            opened[$window]=$at
            xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true ;;
        esac
    done
}

# One run of one program: its figures are appended to $work/NAME.*.
measure() {
    local name=$1 run=$2 start pid ticks
    shift 2
    export HOME="$work/home-$name-$run" XDG_DATA_HOME="$work/data-$name-$run"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
    mkdir -p "$HOME"
    start=$(now_us)
    "$@" >"$work/$name-$run.log" 2>&1 &
    pid=$!
    await_window "$pid" "$name"
    echo $(((mapped - start - waited) / 1000)) >>"$work/$name.mapped"
    sleep "$(awk -v s="$start" -v n="$(now_us)" 'BEGIN { print 10 - (n - s) / 1e6 }')"
    awk '/^Rss:/ { printf "%.1f\n", $2 / 1024 }' /proc/"$pid"/smaps_rollup >>"$work/$name.rss"
    schedules "$pid" >"$work/$name-before$run"
    ticks=$(cpu_ticks "$pid")
    sleep 30
    schedules "$pid" >"$work/$name-after$run"
    awk -v t="$ticks" -v n="$(cpu_ticks "$pid")" -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.1f\n", (n - t) / hz / 30 * 100 }' >>"$work/$name.cpu"
    wakeups "$work/$name-before$run" "$work/$name-after$run" >>"$work/$name.wakeups"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$name run $run: mapped $(tail -n1 "$work/$name.mapped") ms," \
        "$(tail -n1 "$work/$name.rss") MiB at 10 s," \
        "$(tail -n1 "$work/$name.wakeups") wake-ups and $(tail -n1 "$work/$name.cpu") % CPU at rest in 30 s"
}

for run in $(seq 1 "$RUNS"); do
    measure harmik "$run" "$HARMIK"
    for peer in "${PEERS[@]}"; do measure "$(basename "$peer")" "$run" "$peer"; done
done
echo "wake-ups at rest of each thread of Harmik's last run:"
awk 'NR == FNR { was[$1] = $2; next } { printf "  %-16s %d\n", $3, $2 - ($1 in was ? was[$1] : 0) }' \
    "$work/harmik-before$RUNS" "$work/harmik-after$RUNS"
echo "medians of $RUNS runs:"
for name in harmik "${PEERS[@]##*/}"; do
    echo "  $name: exec to mapped $(median <"$work/$name.mapped") ms," \
        "resident $(median <"$work/$name.rss") MiB at 10 s," \
        "$(median <"$work/$name.wakeups") wake-ups and $(median <"$work/$name.cpu") % CPU in 30 s at rest"
done
for name in "${PEERS[@]##*/}"; do
    awk -v h="$(median <"$work/harmik.mapped")" -v p="$(median <"$work/$name.mapped")" -v n="$name" \
        'BEGIN { printf "  exec to mapped, Harmik to %s: %.2f\n", n, h / p }'
done
