#!/usr/bin/env bash
# Runs one fuzz target over its seed corpus with the given libFuzzer options; what it finds
# new goes to a scratch folder that is removed afterwards.
set -euo pipefail
target="$1"
corpus="$2"
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" # crash files land here and are printed by libFuzzer
"$target" -max_len=4096 "$@" "$scratch" "$corpus" || {
    cp crash-* leak-* timeout-* "$OLDPWD" 2>/dev/null || true
    exit 1
}
