#!/usr/bin/env bash
# The screenshots named in the AppStream metadata come out of the program's own window, in
# both languages, at the size they are published in.
set -euo pipefail

tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for language in en ru; do
    (cd "$work" && HARMIK_LANGUAGE=$language ASAN_OPTIONS=detect_leaks=0 "$tool" "$work/$language" 1024x768 \
        >"$work/$language.log" 2>&1) || { cat "$work/$language.log"; fail "$language"; }
    for name in intervals chords melodies; do
        file "$work/$language/$name.png" | grep -q "PNG image data, 1024 x 768" \
            || fail "$language/$name.png: $(file "$work/$language/$name.png")"
    done
done
cmp -s "$work/en/chords.png" "$work/ru/chords.png" && fail "the two languages look the same"
echo "screenshots: passed"
