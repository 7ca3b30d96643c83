#!/usr/bin/env bash
# The settings commands of the real program under Xvfb, by their shortcuts: the other-settings
# dialog changes the number of exercises, the MIDI dialog opens and closes with OK, and an
# exercise set is saved with F2 and loaded with F3 through the file dialogs, bringing back its
# module.
set -euo pipefail

HARMIK="$1"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

gone() { ! has_window "$pid" "$1"; }

byte_at() { # file, offset
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '
}

# Opens a dialog by its shortcut from the main window and waits for it.
open_dialog() { # shortcut, window-name regexp
    local i
    for i in $(seq 1 20); do
        press_in "$pid" "^ H A R M I K - " "$1" || true
        for _ in $(seq 1 10); do
            has_window "$pid" "$2" && return 0
            sleep 0.1
        done
    done
    fail "no window '$2' after $1"
}

# Types into a window once it has the keyboard: a dialog shows before the window system has
# given it the focus, and keys typed in between would reach the main window.
type_in() { # window-name regexp, text
    xdotool windowfocus --sync "$(window_named "$pid" "$1")"
    xdotool type --delay 20 "$2"
    xdotool key Return
}

start_harmik

# Other settings: the exercise page's first slider is the number of exercises; one step up.
open_dialog ctrl+o "^Другие установки$"
press_in "$pid" "^Другие установки$" Tab
xdotool key Right Return
wait_for gone "^Другие установки$" || fail "other settings stay"

# The MIDI settings open on their device page and close with OK.
open_dialog ctrl+m "^MIDI установки$"
press_in "$pid" "^MIDI установки$" Return
wait_for gone "^MIDI установки$" || fail "MIDI dialog stays"

# F2 saves a set under a typed name; the extension is added.
open_dialog F2 "^Сохранить$"
type_in "^Сохранить$" "lesson"
wait_for test -s "$folder/lesson.HKS" || fail "no lesson.HKS"
[ "$(stat -c %s "$folder/lesson.HKS")" -eq 966 ] || fail "lesson.HKS size"

# In another module, F3 loads the set and with it the set's module.
press_in "$pid" "^ H A R M I K - " alt+3
wait_for has_window "$pid" "^ H A R M I K - Аккорды$" || fail "no chords module"
open_dialog F3 "^Загрузить$"
type_in "^Загрузить$" "lesson.HKS"
wait_for has_window "$pid" "^ H A R M I K - Интервалы$" || fail "the set's module did not open"

close_with Return
wait_for not_running "$pid" || fail "did not end"
[ "$(byte_at "$folder/init.hkm" 477)" = 21 ] || fail "exercises per task not stored"
echo "e2e settings and exercise sets: passed"
