#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks that everything lands where a Linux desktop
# looks for it, and that the desktop entry and the AppStream metadata pass their validators.
# Usage: tools/check-install.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

app_id=$(sed -n 's/^set(RQ508_APP_ID "\(.*\)")$/\1/p' src/app/version.cmake)
desktop_entry=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
failures=0

fail() {
    echo "check-install: $*" >&2
    failures=$((failures + 1))
}

for program in RQ-508 rq508 rq508-sim; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
[ -f "$desktop_entry" ] || fail "share/applications/$app_id.desktop is missing"
[ -f "$metainfo" ] || fail "share/metainfo/$app_id.metainfo.xml is missing"

for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    if [ ! -f "$icon" ]; then
        fail "share/icons/hicolor/${size}x${size}/apps/$app_id.png is missing"
    elif [ "$(identify -format '%wx%h' "$icon")" != "${size}x${size}" ]; then
        fail "$app_id.png in ${size}x${size} is $(identify -format '%wx%h' "$icon") pixels"
    fi
done

if [ -f "$desktop_entry" ]; then
    desktop-file-validate "$desktop_entry" || fail "desktop-file-validate rejects the entry"
    grep -qx "Icon=$app_id" "$desktop_entry" || fail "the desktop entry names another icon"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop_entry")
    [ -x "$prefix/bin/$exec_program" ] || fail "the desktop entry runs '$exec_program', not installed"
fi
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net --pedantic "$metainfo" ||
        fail "appstreamcli rejects the metadata"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-install: $failures problem(s)" >&2
    exit 1
fi
echo "check-install: programs, desktop entry, icons and metadata in place and valid"
