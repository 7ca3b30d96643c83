#!/usr/bin/env bash
# The real program killed with SIGKILL at random moments while it saves on closing: every
# settings and top-ten file is the old one whole or the new one whole, and no temporary file of
# a save survives the next start. A save takes a millisecond or two; so that kills land inside
# it, strace (where it may attach) holds each sync of a file and each rename for a moment.
set -euo pipefail

HARMIK="$1"
TRIALS="${2:-24}"
# shellcheck source=e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

int_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }
leftovers() { find "$folder" -maxdepth 1 -regextype posix-extended \
    -regex '.*/(init\.hkm|top10\.hkt|init\.hkm\.bak)\.[A-Za-z0-9]{6}' | wc -l; }

# A first run leaves both files; then the old files of every trial carry what a save changes:
# a hint delay out of range (saved as 10) and a top-ten place with negative points (saved as an
# empty place).
start_harmik
close_with Return
wait_for not_running "$pid" || fail "first run did not end"
old_settings="$work/old.hkm"
old_table="$work/old.hkt"
cp "$folder/init.hkm" "$old_settings"
cp "$folder/top10.hkt" "$old_table"
put_int() { # file, offset, value: a little-endian Int32
    perl -e 'open(my $f, "+<", $ARGV[0]) or die; binmode $f; seek($f, $ARGV[1], 0); print $f pack("l<", $ARGV[2])' "$@"
}
put_int "$old_settings" 536 99
put_int "$old_table" $((3 * 48 + 28)) -5

settings_whole() {
    cmp -s "$folder/init.hkm" "$old_settings" && return 0
    [ "$(stat -c %s "$folder/init.hkm")" -eq 966 ] &&
        [ "$(head -c 20 "$folder/init.hkm" | tail -c 19)" = "HARMIK SETUP 1.6 b1" ] &&
        [ "$(int_at "$folder/init.hkm" 536)" -eq 10 ]
}
table_whole() {
    cmp -s "$folder/top10.hkt" "$old_table" && return 0
    [ "$(stat -c %s "$folder/top10.hkt")" -eq 576 ] &&
        [ "$(int_at "$folder/top10.hkt" $((3 * 48 + 28)))" -eq 0 ] &&
        cmp -s <(head -c 144 "$folder/top10.hkt") <(head -c 144 "$old_table")
}

# Holds each sync and rename of the program for 150 ms; nothing when strace cannot attach.
tracer=""
slow_down_saves() {
    command -v strace >/dev/null || return 0
    strace -f -p "$pid" -o /dev/null -e trace=fdatasync,fsync,rename \
        -e inject=fdatasync:delay_enter=150000 -e inject=fsync:delay_enter=150000 \
        -e inject=rename:delay_enter=150000 2>"$work/strace.log" &
    tracer=$!
    wait_for grep -q attached "$work/strace.log" || true
}

new_settings=0 new_tables=0 orphans=0
for trial in $(seq 1 "$TRIALS"); do
    cp "$old_settings" "$folder/init.hkm"
    cp "$old_table" "$folder/top10.hkt"
    start_harmik
    [ "$(leftovers)" -eq 0 ] || fail "trial $trial: a temporary file survived the start"
    slow_down_saves
    # Ask to close, say Yes, and kill the program somewhere in what follows: the sound layer
    # shutting down and the two saves.
    press_in "$pid" "^ H A R M I K - " alt+F4 || true
    wait_for has_window "$pid" "^ H A R M I K$" || fail "trial $trial: no closing question"
    press_in "$pid" "^ H A R M I K$" Return || true
    sleep "0.$(printf %03d $((RANDOM % ${KILL_WITHIN_MS:-800})))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" $tracer 2>/dev/null || true # the program and its tracer
    settings_whole || fail "trial $trial: init.hkm is neither old nor new"
    table_whole || fail "trial $trial: top10.hkt is neither old nor new"
    cmp -s "$folder/init.hkm" "$old_settings" || new_settings=$((new_settings + 1))
    cmp -s "$folder/top10.hkt" "$old_table" || new_tables=$((new_tables + 1))
    orphans=$((orphans + $(leftovers)))
done
start_harmik
[ "$(leftovers)" -eq 0 ] || fail "a temporary file survived the last start"
close_with Return
wait_for not_running "$pid" || fail "the last run did not end"

echo "e2e kill during save: passed ($TRIALS kills: $new_settings new settings files," \
    "$new_tables new top-ten files, $orphans temporary files left and removed)"
