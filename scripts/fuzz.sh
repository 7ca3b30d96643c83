#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang and libFuzzer into build-fuzz/ and runs each for
# the given number of seconds (default 60), one after the other, starting from the checked-in
# seed corpus. Inputs that reach new code are kept in build-fuzz/corpus/<target>; an input that
# breaks an invariant or a sanitizer is written to build-fuzz/ and the script fails.
#   bash scripts/fuzz.sh [seconds] [target ...]     targets: settings_record top_ten midi_input
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings_record top_ten midi_input)

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j "$(nproc)"

status=0
for t in "${targets[@]}"; do
    found="build-fuzz/corpus/$t"
    mkdir -p "$found"
    echo "== $t for $seconds s"
    (cd build-fuzz && "./${t}_fuzz" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 \
        "corpus/$t" "../fuzz/corpus/$t") || status=1
done
exit $status
