#!/usr/bin/env bash
# Start-up benchmark: the time from start until the main window is mapped, and the peak
# resident memory, of RQ-508 beside a bare Qt dialog with the same twenty widgets; each started
# RUNS times, taking turns, on a private Xvfb without a window manager; medians are printed.
# The aim is at most 1.3 times the bare dialog in both figures.
# Usage: bench/startup/run.sh [build-folder] [runs]   (defaults: build, 15)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-15}
kAim=1.3

command -v Xvfb >/dev/null || { echo "run.sh: Xvfb is missing (Debian package xvfb)" >&2; exit 1; }
cmake --build "$build" --target RQ-508 startup_bare_dialog startup_probe >/dev/null
gui="$build/src/app/RQ-508"
bare="$build/bench/startup/startup_bare_dialog"
probe="$build/bench/startup/startup_probe"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private session, so that nothing of the desktop the script runs in takes part.
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY SESSION_MANAGER
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "run.sh: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY

# measure NAME PROGRAM: one start; appends "milliseconds kibibytes" to $work/NAME.
measure() {
    local milliseconds kibibytes status
    read -r milliseconds kibibytes status < <("$probe" "$2") ||
        { echo "run.sh: $2 failed to show its window" >&2; exit 1; }
    [ "$status" = 0 ] || { echo "run.sh: $1 ended with status $status" >&2; exit 1; }
    echo "$milliseconds $kibibytes" >>"$work/$1"
}

# One start of each first, not counted: it fills the caches of fonts and shared libraries.
measure warm-up "$gui"
measure warm-up "$bare"
for ((i = 1; i <= runs; i++)); do
    measure gui "$gui"
    measure bare "$bare"
done

median() { # median of column $2 of file $1
    sort -n -k "$2" "$1" | awk -v column="$2" '{ v[NR] = $column }
        END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
gui_ms=$(median "$work/gui" 1)
bare_ms=$(median "$work/bare" 1)
gui_kib=$(median "$work/gui" 2)
bare_kib=$(median "$work/bare" 2)

awk -v gm="$gui_ms" -v bm="$bare_ms" -v gk="$gui_kib" -v bk="$bare_kib" -v runs="$runs" \
    -v aim="$kAim" 'BEGIN {
    printf "Start-up, median of %d starts each (Xvfb, no window manager)\n\n", runs
    printf "%-16s %24s %20s\n", "", "start to window (ms)", "peak memory (MiB)"
    printf "%-16s %24.1f %20.1f\n", "RQ-508", gm, gk / 1024
    printf "%-16s %24.1f %20.1f\n", "bare Qt dialog", bm, bk / 1024
    rt = gm / bm; rm = gk / bk
    printf "%-16s %24.2f %20.2f   (aim: at most %.1f)\n", "ratio", rt, rm, aim
    if (rt > aim || rm > aim) print "\nabove the aim"
}'
