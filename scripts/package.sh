#!/usr/bin/env bash
# Installs what is missing, builds Harmik in release mode into build-release/ and makes the
# Debian package there with CPack (dependencies from dpkg-shlibdeps plus the SoundFont).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHARMIK_TESTS=OFF >/dev/null
cmake --build build-release
(cd build-release && cpack -G DEB)
ls build-release/harmik_*.deb
