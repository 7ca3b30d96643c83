# Shared by the end-to-end scripts: a private Xvfb display and data folder, waiting, finding
# the program's windows, answering its message boxes, starting and closing it.
# The including script sets HARMIK to the program first.

work=$(mktemp -d)
xvfb=""
trap 'kill $(jobs -p) $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=detect_leaks=0
export HARMIK_LANGUAGE=ru # the scripts read the Russian texts whatever the machine's locale
folder="$XDG_DATA_HOME/harmik"

fail() { echo "FAIL: $*"; exit 1; }

# Waits (up to 60 s) until the command succeeds.
wait_for() {
    local i
    for i in $(seq 1 600); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    return 1
}

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$! # not one of the jobs: ended by the trap by its number
read -r -u 3 display
export DISPLAY=":$display"

window_named() { xdotool search --all --pid "$1" --onlyvisible --name "$2" | head -n1; }
has_window() { [ -n "$(window_named "$1" "$2")" ]; }
not_running() { ! kill -0 "$1" 2>/dev/null; }

press_in() { # pid, window-name regexp, key
    local w
    w=$(window_named "$1" "$2")
    xdotool windowfocus --sync "$w"
    xdotool key "$3"
}

# Starts the program and answers what it says at start-up about missing sound devices
# (this machine may have no sound card and no MIDI ports) and closes the tip of the day, which
# a fresh settings file shows before the main window, until the main window shows.
start_harmik() {
    "$HARMIK" >"$work/out.log" 2>&1 &
    pid=$!
    local i
    for i in $(seq 1 600); do
        if has_window "$pid" "^ H A R M I K - "; then return 0; fi
        if has_window "$pid" "^ H A R M I K$"; then
            press_in "$pid" "^ H A R M I K$" Return || true
        elif has_window "$pid" "$tip_window"; then
            press_in "$pid" "$tip_window" Escape || true
        fi
        sleep 0.1
    done
    fail "no main window"
}
tip_window="ЗАМЕТКА ДНЯ$"

# Answers the message box of a process with a key, again if a press came before the box was
# ready for it, until the box is gone.
answer_box() { # pid, key
    local i
    wait_for has_window "$1" "^ H A R M I K$" || fail "no message box"
    for i in $(seq 1 20); do
        press_in "$1" "^ H A R M I K$" "$2" || true
        for _ in $(seq 1 10); do
            has_window "$1" "^ H A R M I K$" || return 0
            sleep 0.1
        done
    done
    fail "message box stays"
}

close_with() { # key for the question: Escape (No) or Return (Yes)
    local i
    for i in $(seq 1 20); do
        press_in "$pid" "^ H A R M I K - " alt+F4 || true
        for _ in $(seq 1 10); do
            if has_window "$pid" "^ H A R M I K$"; then
                answer_box "$pid" "$1"
                return 0
            fi
            sleep 0.1
        done
    done
    fail "no closing question"
}

