#!/usr/bin/env bash
# The real program under Xvfb, played with the mouse: Ctrl and a click on middle C sets the
# lowest note of the range (and is told it was too high), the guitar is shown with its check
# box, listening is switched off with its key; the settings file keeps all three.
set -euo pipefail

HARMIK="$1"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

byte_at() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
int_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }

start_harmik
main=$(window_named "$pid" "^ H A R M I K - ")
eval "$(xdotool getwindowgeometry --shell "$main")"
# The piano fills the panel above the status line (16 pixels) but for the 70-pixel strip on
# the right; middle C is the fifteenth of its 28 white keys.
piano_width=$((WIDTH - 70))
middle_c_x=$((piano_width * 29 / 56))
white_keys_y=$((HEIGHT - 16 - 6))

xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" "$middle_c_x" "$white_keys_y"
xdotool keydown ctrl click 1 keyup ctrl
answer_box "$pid" Return # the lowest note may not be above 48

# The guitar's check box is the lowest in the strip.
xdotool mousemove --window "$main" $((WIDTH - 60)) $((HEIGHT - 16 - 10)) click 1
# Listening off with its menu key.
press_in "$pid" "^ H A R M I K - " l

close_with Return
wait_for not_running "$pid" || fail "the program did not end"
settings="$folder/init.hkm"
[ "$(int_at "$settings" 800)" -eq 48 ] || fail "lowest note $(int_at "$settings" 800)"
[ "$(byte_at "$settings" 964)" -eq 1 ] || fail "guitar not shown"
[ "$(byte_at "$settings" 965)" -eq 1 ] || fail "piano hidden"
[ "$(byte_at "$settings" 520)" -eq 0 ] || fail "listening still on"

echo "e2e play on the keyboards: passed"
