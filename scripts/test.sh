#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs the whole suite with ctest, runs the fuzz targets briefly, and builds the threaded parts
# again with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHARMIK_SANITIZE=ON -DHARMIK_TESTS=ON >/dev/null
cmake --build build-test -j "$jobs"

status=0
ctest --test-dir build-test --output-on-failure -j "$jobs" || status=$?

# The readers of outside bytes under libFuzzer: a small clang build of the fuzz targets, each
# run for a short fixed number of inputs from its seed corpus (scripts/fuzz.sh runs them longer).
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs" || status=$?

# The sound layer's threads (MIDI input callback, click track, audio callback) under TSan.
if compgen -G "tests/midi/*_test.cpp" >/dev/null; then
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHARMIK_TSAN=ON -DHARMIK_TESTS=ON >/dev/null
    cmake --build build-tsan -j "$jobs" --target midi_tests
    TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" \
        ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L midi_tests || status=$?
fi
exit $status
