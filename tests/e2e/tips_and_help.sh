#!/usr/bin/env bash
# The tip of the day at the first start and the next tip at the second, the index kept in
# init.hkm; F1 on the main window opens the help at the module's page.
set -euo pipefail

HARMIK="$1"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

tip_index() { od -An -t d4 -j 524 -N 4 "$folder/init.hkm" | tr -d ' '; }

# Starts the program, answers the sound-device messages, and closes the tip window with Escape
# once it shows; fails if the main window comes first.
start_with_tip() {
    "$HARMIK" >"$work/out.log" 2>&1 &
    pid=$!
    local i
    for i in $(seq 1 600); do
        has_window "$pid" "^ H A R M I K - " && fail "main window before the tip of the day"
        if has_window "$pid" "^ H A R M I K$"; then
            press_in "$pid" "^ H A R M I K$" Return || true
        elif has_window "$pid" "$tip_window"; then
            break
        fi
        sleep 0.1
    done
    has_window "$pid" "^НАСТРОЙТЕСЬ / ЗАМЕТКА ДНЯ$" || fail "no tip of the day"
    start_harmik_after_tip
}
start_harmik_after_tip() {
    local i
    for i in $(seq 1 600); do
        if has_window "$pid" "^ H A R M I K - "; then return 0; fi
        has_window "$pid" "$tip_window" && { press_in "$pid" "$tip_window" Escape || true; }
        sleep 0.1
    done
    fail "no main window after the tip"
}

start_with_tip
close_with Return
wait_for not_running "$pid" || fail "first run did not end"
[ "$(tip_index)" = "0" ] || fail "first start showed tip $(tip_index)"

start_with_tip
# F1 opens the help at the page of the module in use (intervals).
press_in "$pid" "^ H A R M I K - " F1
wait_for has_window "$pid" "^Справка Harmik$" || fail "F1 opened no help"
# Escape puts it away (again if the press came before the window was ready for it).
help_gone() {
    local i
    for i in $(seq 1 10); do
        has_window "$pid" "^Справка Harmik$" || return 0
        sleep 0.1
    done
    return 1
}
for i in $(seq 1 20); do
    press_in "$pid" "^Справка Harmik$" Escape || true
    help_gone && break
done
help_gone || fail "help window stays"
close_with Return
wait_for not_running "$pid" || fail "second run did not end"
[ "$(tip_index)" = "1" ] || fail "second start showed tip $(tip_index)"

echo "e2e tips and help: passed"
