#!/usr/bin/env bash
# One round trip through the real RQ-508 window, driven from outside by keyboard as a person
# would: on a private X server (Xvfb) with a window manager (openbox, which gives the focus),
# against a virtual gateway (rq508-sim) that starts with settings other than the program's own.
#
#   upload      Tab to "Upload Config", Enter; the port dialog opens; pick the virtual gateway
#               in the Serial No. list, then hold Enter down until well after "Upload is
#               successful!" has opened (the key repeats meanwhile), so that a repeat that acted
#               would close the box or upload again; dismiss the box with Enter
#   change      Shift+Tab back to the Check Bit list, Down Down: "Even"; Tab to the slave
#               address, type 42; Tab to "Download Config"
#   download    Enter; dismiss "Download is successful!" with Enter
#   check       the gateway now holds the uploaded settings with the two changes, and its log holds
#               exactly one upload and then one download, of those settings; Esc ends the program
#               with status 0
#
# Screenshots of the main window and of both message boxes are kept in the artifact folder.
# Usage: gui_round_trip.sh RQ-508 rq508-sim rq508 ARTIFACT-FOLDER
# Exit status 77 (skipped) when Xvfb is missing.
set -euo pipefail

gui=$1
sim=$2
cli=$3
artifacts=$4
kSkip=77
kWait=60 # seconds; generous, machines are shared

if ! command -v Xvfb >/dev/null; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb); the desktop round trip needs it"
    exit $kSkip
fi
for tool in openbox xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null ||
        { echo "FAILED: $tool is missing (see tools/debian-packages.txt)" >&2; exit 1; }
done

mkdir -p "$artifacts"
rm -f "$artifacts"/*.png
work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

step() { printf '== %s\n' "$*"; }
fail() {
    printf 'FAILED: %s\n' "$*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        import -window root "$artifacts/failure-screen.png" 2>/dev/null || true
        echo "screen at the failure: $artifacts/failure-screen.png" >&2
    fi
    for log in "$work"/*.log "$work"/*.txt; do
        [ -s "$log" ] && printf -- '--- %s\n%s\n' "$(basename "$log")" "$(cat "$log")" >&2
    done
    exit 1
}

# wait_for SECONDS DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "no $what within $seconds s"
        sleep 0.2
    done
}

# A private session: its own runtime folder (where the virtual gateway announces itself), home
# and display, so that nothing on the machine leaks in and nothing of the test leaks out.
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY SESSION_MANAGER
export QT_QPA_PLATFORM=xcb # ctest runs with offscreen; this test wants the real X11 window
# In a sanitizer build, leaks of the system libraries that X11 brings in are not the program's.
here=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

step "starting Xvfb and openbox"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for $kWait "display number from Xvfb" test -s "$work/display"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for $kWait "window manager on $DISPLAY" wm_ready

step "starting the virtual gateway"
# Settings that differ from the program's initial ones, so that only an upload can bring them.
printf 'Baud Rate\t\t9600\r\nCheck Bit\t\tNone\r\nCAN Baud Rate\t\t250K\r\nCAN Protocol\t\tCAN2.0 B\r\nModbus Slave Address\t7\r\n' \
    >"$work/initial.txt"
expected=$(printf 'Baud Rate\t\t9600\r\nCheck Bit\t\tEven\r\nCAN Baud Rate\t\t250K\r\nCAN Protocol\t\tCAN2.0 B\r\nModbus Slave Address\t42\r\n')
"$sim" --initial "$work/initial.txt" --state-file "$work/state.txt" >"$work/gateway.log" 2>&1 &
sim_pid=$!
pids+=("$sim_pid")
wait_for $kWait "pseudo-terminal path from rq508-sim" test -s "$work/gateway.log"
gateway_listed() { "$cli" ports | grep -q "/gateway-$sim_pid\$"; }
wait_for $kWait "virtual gateway in the port list" gateway_listed
# The port dialog lists the ports in this order; the real serial ports of the machine come first.
position=$("$cli" ports | grep -n "/gateway-$sim_pid\$" | cut -d: -f1)
downs=$((position - 1))
echo "the virtual gateway is entry $position of the port list"

step "starting RQ-508"
"$gui" >"$work/rq508-gui.log" 2>&1 &
gui_pid=$!
pids+=("$gui_pid")
main=$(timeout $kWait xdotool search --sync --onlyvisible --name '^RQ-508$' | head -n 1) ||
    fail "the RQ-508 window did not appear"
xdotool windowactivate --sync "$main"
xdotool mousemove --window "$main" 40 40

is_active() { [ "$(xdotool getactivewindow)" = "$1" ]; }
keys() { xdotool key --delay 120 "$@"; }

# The message box that the main window owns: a second visible window captioned "RQ-508".
message_box() {
    xdotool search --onlyvisible --name '^RQ-508$' | grep -v -x "$main" | head -n 1
}
has_message_box() { [ -n "$(message_box)" ]; }
no_window() { ! xwininfo -id "$1" >/dev/null 2>&1 || ! xwininfo -id "$1" | grep -q IsViewable; }

# dismiss_message NAME: waits for the message box, keeps its picture, presses Enter on its OK.
dismiss_message() {
    wait_for $kWait "message box ($1)" has_message_box
    local box
    box=$(message_box)
    wait_for $kWait "focus in the message box ($1)" is_active "$box"
    import -window "$box" "$artifacts/$1.png"
    keys Return
    wait_for $kWait "message box ($1) to close" no_window "$box"
    wait_for $kWait "focus back in the main window" is_active "$main"
}

step "upload: Tab to Upload Config, Enter, choose the port"
wait_for $kWait "focus in the main window" is_active "$main"
keys Tab Tab Tab Tab Tab Return # 1001 -> 1002 -> 1003 -> 1006 -> 1008 -> 1009
port_dialog=$(timeout $kWait xdotool search --sync --onlyvisible \
    --name '^Upload/Download Serial Setting$' | head -n 1) ||
    fail "the port dialog did not open"
wait_for $kWait "focus in the port dialog" is_active "$port_dialog"
# Ok has the focus; Tab, Tab reach the Serial No. list, Down moves its selection.
keys Tab Tab
for ((i = 0; i < downs; i++)); do keys Down; done
# One press, held: the X server repeats it (after 660 ms, every 40 ms by default) to whichever
# window has the focus, the message box first. A repeat must neither close the box nor, once it
# is gone, press "Upload Config" again.
xdotool keydown Return
wait_for $kWait "message box (upload-message) under the held Enter" has_message_box
held_box=$(message_box)
sleep 1.5
xdotool keyup Return
xwininfo -id "$held_box" | grep -q IsViewable || fail "the held Enter closed the message box"
dismiss_message upload-message

step "change: Check Bit Even, slave address 42"
# Back from "Upload Config" (1009) past 1008, 1006 and 1003 to the Check Bit list (1002).
keys shift+Tab shift+Tab shift+Tab shift+Tab Down Down Tab Tab ctrl+a
xdotool type --delay 120 42
keys Tab # to Download Config; the slave address is checked as it loses the focus

step "download: Enter on Download Config"
keys Return
dismiss_message download-message
import -frame -window "$main" "$artifacts/main-window.png"
echo "screenshot of the main window: $artifacts/main-window.png"

step "check what the virtual gateway holds"
holds_expected() { [ "$(cat "$work/state.txt")" = "$expected" ]; }
wait_for $kWait "downloaded settings in the gateway's state file" holds_expected
# After its port path, the gateway logs one line per exchange: what it did, the settings, then
# the bytes from "<" on.
exchanges=$(tail -n +2 "$work/gateway.log" | sed 's/ *<.*//')
expected_exchanges=$(printf 'upload 9600 None 7 250K CAN2.0 B\ndownload 9600 Even 42 250K CAN2.0 B')
[ "$exchanges" = "$expected_exchanges" ] ||
    fail "the gateway saw these exchanges, expected one upload and then one download:
$exchanges"

step "Esc ends the program"
keys Escape
no_process() { ! kill -0 "$1" 2>/dev/null; }
wait_for $kWait "RQ-508 to end after Esc" no_process "$gui_pid"
status=0
wait "$gui_pid" || status=$?
[ $status = 0 ] || fail "RQ-508 ended with status $status"
echo "PASSED"
