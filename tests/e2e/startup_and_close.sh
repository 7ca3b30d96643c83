#!/usr/bin/env bash
# The real program under Xvfb, driven with real key presses: first start, second instance,
# the closing question answered No and Yes, the files left behind, and a settings file of
# another version.
set -euo pipefail

HARMIK="$1"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

# First start: the intervals module.
start_harmik
title=$(xdotool getwindowname "$(window_named "$pid" "^ H A R M I K - ")")
[ "$title" = " H A R M I K - Интервалы" ] || fail "title '$title'"

# A second start is refused with a message and exit code 1; the first keeps running.
"$HARMIK" >"$work/second.log" 2>&1 &
second=$!
answer_box "$second" Return
code=0
wait "$second" || code=$?
[ "$code" -eq 1 ] || fail "second start exit code $code"
kill -0 "$pid" || fail "first instance ended"

# No keeps the program running and writes nothing.
close_with Escape
kill -0 "$pid" || fail "No ended the program"
[ ! -e "$folder/init.hkm" ] || fail "No wrote the settings"

# Yes ends it and leaves both files.
close_with Return
wait_for not_running "$pid" || fail "Yes did not end the program"
wait "$pid" || fail "exit code $?"
[ "$(stat -c %s "$folder/init.hkm")" -eq 966 ] || fail "init.hkm size"
[ "$(stat -c %s "$folder/top10.hkt")" -eq 576 ] || fail "top10.hkt size"
[ "$(head -c 20 "$folder/init.hkm" | tail -c 19)" = "HARMIK SETUP 1.6 b1" ] || fail "init.hkm header"

# A saved module comes back; a file of another version starts in intervals.
printf '\x03' | dd of="$folder/init.hkm" bs=1 seek=438 conv=notrunc status=none
start_harmik
title=$(xdotool getwindowname "$(window_named "$pid" "^ H A R M I K - ")")
[ "$title" = " H A R M I K - Аккорды" ] || fail "saved module not restored: '$title'"
close_with Return
wait_for not_running "$pid" || fail "second run did not end"

printf 'X' | dd of="$folder/init.hkm" bs=1 seek=19 conv=notrunc status=none
start_harmik
title=$(xdotool getwindowname "$(window_named "$pid" "^ H A R M I K - ")")
[ "$title" = " H A R M I K - Интервалы" ] || fail "wrong header: '$title'"
close_with Return
wait_for not_running "$pid" || fail "third run did not end"
[ "$(head -c 20 "$folder/init.hkm" | tail -c 19)" = "HARMIK SETUP 1.6 b1" ] || fail "header not rewritten"

echo "e2e startup and close: passed"
