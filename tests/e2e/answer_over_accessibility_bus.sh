#!/usr/bin/env bash
# The real program under a virtual X server with a window manager, in its own D-Bus
# session with the accessibility bus: answer_by_keys.py drives it by keys and checks it
# by what a screen reader would hear.
# Usage: answer_over_accessibility_bus.sh PATH-TO-fretlore
set -euo pipefail
HERE="$(dirname "$(readlink -f "$0")")"
BIN="$(readlink -f "$1")"
WORK="$(mktemp -d)"
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

export HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CACHE_HOME="$WORK/cache" JACK_NO_START_SERVER=1
mkdir -p "$XDG_CONFIG_HOME/Fretlore" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[%%General]\nEnableSound=False\n' > "$XDG_CONFIG_HOME/Fretlore/Fretlore.conf"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n' > "$XDG_CONFIG_HOME/Fretlore/fretlore.conf"

# Xvfb picks a free display itself and tells it on a pipe, so parallel runs never race.
exec {DISPLAYFD}<> <(:)
Xvfb -displayfd "$DISPLAYFD" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
read -r -t 30 -u "$DISPLAYFD" number || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
export DISPLAY=":$number"
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)

# The accessibility bus comes up on demand inside the session; Qt's bridge is switched
# on as an assistive tool's presence would.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
export FRETLORE_LOG="$WORK/program.log"
timeout 240 dbus-run-session -- /usr/bin/python3 "$HERE/answer_by_keys.py" "$BIN" 2>"$WORK/bus.log" \
  || { echo "--- the program said:"; cat "$FRETLORE_LOG"; echo "--- the buses said:"; cat "$WORK/bus.log"; exit 1; }
