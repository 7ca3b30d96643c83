#!/usr/bin/env bash
# The real program under Xvfb with settings files no run of it could have written: the window
# comes up whole on the screen every time, and sanitizers stay silent. Then a data folder that
# cannot be made: the program says so, runs with defaults, and leaves the folder it was started
# from alone; with no runtime folder the lock still works.
set -euo pipefail

HARMIK="$1"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

int_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }
put_int() { # file, offset, value: a little-endian Int32
    perl -e 'open(my $f, "+<", $ARGV[0]) or die; binmode $f; seek($f, $ARGV[1], 0); print $f pack("l<", $ARGV[2])' "$@"
}
put_byte() { printf "\\x$(printf %02x "$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# A first run leaves a good file to damage.
start_harmik
close_with Return
wait_for not_running "$pid" || fail "first run did not end"
good="$work/good.hkm"
cp "$folder/init.hkm" "$good"

# Each case: the bytes put into a copy of the good file (offset:size:value ...).
cases=(
    "489:4:0 497:1:0"                  # width zero, not maximised
    "493:4:-600 497:1:0"               # height negative
    "481:4:99999 485:4:-99999 497:1:0" # far off the screen
    "481:4:2147483647 489:4:2147483647 497:1:0"
    "536:4:2147483647 800:4:-2147483648 848:4:2147483647 860:4:-7 864:4:99"
    "random:1" "random:2" "random:3"
)
for c in "${cases[@]}"; do
    cp "$good" "$folder/init.hkm"
    if [[ $c == random:* ]]; then
        # Random bytes after the 20 header bytes, not maximised so that the geometry counts.
        perl -e 'srand($ARGV[1]); open(my $f, "+<", $ARGV[0]) or die; binmode $f; seek($f, 20, 0); print $f pack("C*", map { int(rand(256)) } 1 .. 946)' \
            "$folder/init.hkm" "${c#random:}"
        put_byte "$folder/init.hkm" 497 0
    else
        for field in $c; do
            IFS=: read -r offset size value <<<"$field"
            if [ "$size" -eq 4 ]; then put_int "$folder/init.hkm" "$offset" "$value"; else put_byte "$folder/init.hkm" "$offset" "$value"; fi
        done
    fi
    start_harmik
    main=$(window_named "$pid" "^ H A R M I K - ")
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 800 ] ||
        fail "case '$c': window at $X,$Y size ${WIDTH}x$HEIGHT"
    [ "$WIDTH" -ge 320 ] && [ "$HEIGHT" -ge 240 ] || fail "case '$c': window ${WIDTH}x$HEIGHT"
    close_with Return
    wait_for not_running "$pid" || fail "case '$c': the program did not end"
    wait "$pid" || fail "case '$c': exit code $?"
    ! grep -q "runtime error\|AddressSanitizer" "$work/out.log" || fail "case '$c': $(cat "$work/out.log")"
    [ "$(int_at "$folder/init.hkm" 536)" -le 10 ] || fail "case '$c': hint delay saved out of range"
done

# The data folder cannot be made (a file stands where it should be), and there is no runtime
# folder: one message, defaults, and the start folder keeps its own files untouched.
start_folder="$work/start"
mkdir -p "$start_folder"
cp "$good" "$start_folder/init.hkm"
put_byte "$start_folder/init.hkm" 438 3 # chords: would show if this file were read
rm -rf "$XDG_DATA_HOME"
printf 'not a folder' >"$XDG_DATA_HOME"
before=$(md5sum "$start_folder/init.hkm")
(
    cd "$start_folder"
    unset XDG_RUNTIME_DIR
    start_harmik
    title=$(xdotool getwindowname "$(window_named "$pid" "^ H A R M I K - ")")
    [ "$title" = " H A R M I K - Интервалы" ] || fail "no data folder: '$title'"
    close_with Return
    wait_for not_running "$pid" || fail "no data folder: the program did not end"
)
[ "$(md5sum "$start_folder/init.hkm")" = "$before" ] || fail "the start folder's settings were written"
[ ! -e "$start_folder/top10.hkt" ] || fail "a top ten was written into the start folder"
[ "$(cat "$XDG_DATA_HOME")" = "not a folder" ] || fail "the file in the folder's place changed"

echo "e2e damaged files: passed"
