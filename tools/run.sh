#!/usr/bin/env bash
# Tries the tool without hardware: installs what is missing, builds, starts a virtual gateway
# (rq508-sim) that the port dialog lists, then the desktop program RQ-508. Without a display it
# shows the same round trip with the command-line tool rq508 instead: upload, download of
# changed settings, upload again. The virtual gateway is stopped when this script ends.
# Usage: tools/run.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

say() { printf '\n== %s\n' "$*"; }
fail() {
    printf 'run.sh: %s\n' "$*" >&2
    exit 1
}

say "installing missing Debian packages"
tools/install-deps.sh

say "building in $build/"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRQ508_WERROR=ON >/dev/null
sim="$build/src/sim/rq508-sim"
gui="$build/src/app/RQ-508"
cli="$build/src/cli/rq508"
# Each program on its own, so that one that does not build yet leaves the others usable.
for target in rq508-sim RQ-508 rq508; do
    cmake --build "$build" --target "$target" ||
        printf 'run.sh: %s did not build; going on without it\n' "$target" >&2
done
[ -x "$sim" ] || fail "the virtual gateway $sim is missing, so there is nothing to talk to"

say "starting the virtual gateway"
work=$(mktemp -d)
sim_pid=
stop_gateway() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_gateway EXIT
trap 'exit 130' INT TERM
"$sim" >"$work/gateway.log" 2>&1 &
sim_pid=$!
# Its first line is the pseudo-terminal's path; give it up to ten seconds.
for _ in $(seq 100); do
    [ -s "$work/gateway.log" ] && break
    kill -0 "$sim_pid" 2>/dev/null || fail "rq508-sim ended at once: $(cat "$work/gateway.log")"
    sleep 0.1
done
pty=$(head -n 1 "$work/gateway.log")
[ -n "$pty" ] || fail "rq508-sim printed no port within ten seconds"
port=$pty
if [ -x "$cli" ]; then
    # The port dialog lists the gateway under its announced name; use the same one here.
    port=$("$cli" ports | grep -E "/gateway-$sim_pid\$" || echo "$pty")
fi
echo "virtual gateway on $pty, listed in the port dialog as $port"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$gui" ]; then
    say "starting RQ-508"
    echo "Press Upload Config or Download Config; in the port dialog choose $port."
    echo "The virtual gateway stops when RQ-508 is closed."
    "$gui" || true
    say "what the virtual gateway saw"
    tail -n +2 "$work/gateway.log"
    exit 0
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    say "no display (neither DISPLAY nor WAYLAND_DISPLAY is set): RQ-508 cannot open its window"
else
    say "RQ-508 did not build"
fi
[ -x "$cli" ] || fail "rq508 did not build either, so the round trip cannot be shown"
echo "The same round trip with the command-line tool rq508:"
show() {
    printf '\n$ %s\n' "$*"
    "$@"
}
show "$cli" ports
show "$cli" upload --port "$port"
show "$cli" download --port "$port" --baud 9600 --check-bit Even --address 42 \
    --can-baud 250K --can-protocol B
show "$cli" upload --port "$port"
say "what the virtual gateway saw"
tail -n +2 "$work/gateway.log"
