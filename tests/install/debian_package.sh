#!/usr/bin/env bash
# Makes the Debian package of the build with CPack and reads it back: its dependencies come
# from the binary (dpkg-shlibdeps) plus the SoundFont, and it holds the installed layout.
set -euo pipefail

build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/harmik_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libfluidsynth3 librtmidi6 libsndfile1 libc6 "fluid-soundfont-gm | sf2-soundfont-gm"; do
    [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = harmik ] || fail "package name"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/harmik ./usr/share/harmik/SPLASH.WAV \
    ./usr/share/applications/org.example.harmik.desktop \
    ./usr/share/metainfo/org.example.harmik.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/org.example.harmik.png \
    ./usr/share/man/man1/harmik.1.gz; do
    grep -qxF "$f" <<<"$contents" || fail "package lacks $f"
done
echo "debian package: passed"
