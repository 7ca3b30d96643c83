#!/usr/bin/env bash
# Installs every Debian 12 package Harmik needs to build, run and test. Does nothing when all
# of them are already there.
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-tools-dev qt6-tools-dev-tools libqt6sql6-sqlite
    libfluidsynth-dev fluid-soundfont-gm timgm6mb-soundfont
    librtmidi-dev libsndfile1-dev
    fonts-dejavu-core
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool x11-utils imagemagick pulseaudio pulseaudio-utils strace
    desktop-file-utils appstream librsvg2-bin dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
