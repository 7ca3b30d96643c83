#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them (all, or those named as arguments).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DHARMIK_TESTS=OFF -DHARMIK_BENCH=ON >/dev/null
cmake --build build-bench
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for f in bench/*_bench.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
for n in "${names[@]}"; do
    echo "== $n"
    ./build-bench/bench/"$n" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
