#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the prefix, checks the layout and the
# desktop files with the distributions' validators, and starts the installed program (and the
# one in the build folder) offscreen from another folder to see where it finds its data.
set -euo pipefail

build="$1"
built_program="$2"
build_data="$3"
id=org.example.harmik

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/first" >/dev/null
mv "$work/first" "$work/moved"
prefix="$work/moved"
installed_files() { find "$prefix" -printf '%P %s\n' | sort; }

# The GNUInstallDirs layout.
expected=(
    bin/harmik
    share/harmik/SPLASH.WAV share/harmik/stemgafl.wav share/harmik/right1.wav
    share/harmik/HARMIK01.TUT share/harmik/HARMIK01.lv1 share/harmik/HARMIK01.lv7
    share/harmik/TIPS.HKR share/harmik/harmik.qhc share/harmik/harmik.qch
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/harmik.1.gz
)
for f in "${expected[@]}"; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/harmik" ] || fail "bin/harmik is not executable"
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file "$png")"
done

# The validators that distributions run.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop file"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" \
    || fail "metainfo"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/harmik.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page: $warnings"

# Starts a program offscreen from an empty folder with its own user folders and prints the
# shipped-data folders it reports, then ends it.
data_folders() { # program, name of the run
    local run="$work/$2" pid i line
    mkdir -p "$run/cwd" "$run/xdg" "$run/runtime" "$run/home"
    chmod 700 "$run/runtime"
    (cd "$run/cwd" && XDG_DATA_HOME="$run/xdg" XDG_RUNTIME_DIR="$run/runtime" HOME="$run/home" \
        QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="harmik.data.debug=true" \
        ASAN_OPTIONS=detect_leaks=0 exec "$1" >"$run/log" 2>&1) &
    pid=$!
    for i in $(seq 1 600); do
        line=$(grep -m1 -o "shipped data folders: .*" "$run/log" || true)
        [ -n "$line" ] && break
        kill -0 "$pid" 2>/dev/null || { cat "$run/log"; fail "$2 ended early"; }
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -n "$line" ] || { cat "$run/log"; fail "$2 did not report its data folders"; }
    [ -z "$(ls -A "$run/cwd")" ] || fail "$2 wrote into the folder it was started from"
    echo "${line#shipped data folders: }"
}

before=$(installed_files)
# The installed program uses the moved prefix's data and nothing from the build; the one in
# the build folder uses the build's data.
folders=$(data_folders "$prefix/bin/harmik" installed)
[ "$folders" = "$work/installed/xdg/harmik:$prefix/share/harmik" ] \
    || fail "installed program looks in '$folders'"
folders=$(data_folders "$built_program" built)
case "$folders" in
"$work/built/xdg/harmik:$build_data"*) ;;
*) fail "program in the build folder looks in '$folders'" ;;
esac
[ "$(installed_files)" = "$before" ] || fail "the program wrote into its installation"

echo "install: passed"
