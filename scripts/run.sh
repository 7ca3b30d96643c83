#!/usr/bin/env bash
# Installs what is missing, builds Harmik and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHARMIK_TESTS=OFF >/dev/null
cmake --build build --target harmik
exec ./build/app/harmik "$@"
