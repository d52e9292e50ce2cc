#!/usr/bin/env bash
# The real program under a virtual X server: open the help window (F1), go back to the
# main window and quit (Ctrl+Q). The process must end, although help is still open.
# Usage: exit_with_help_open.sh PATH-TO-fretlore
set -euo pipefail
BIN="$(readlink -f "$1")"
if [ "${FRETLORE_PROBE_INNER:-}" != 1 ]; then
  WORK="$(mktemp -d)"
  trap 'rm -rf "$WORK"' EXIT
fi
export HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export XDG_RUNTIME_DIR="$WORK/runtime" JACK_NO_START_SERVER=1 BIN WORK
mkdir -p "$XDG_CONFIG_HOME/Fretlore" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[%%General]\nEnableSound=False\n' > "$XDG_CONFIG_HOME/Fretlore/Fretlore.conf"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n' > "$XDG_CONFIG_HOME/Fretlore/fretlore.conf"

probe() {
  set -euo pipefail
  QT_QPA_PLATFORM=xcb "$BIN" >"$WORK/out.txt" 2>&1 &
  local pid=$! main="" help=""
  # Polls for up to ~20 s: the machine may be busy with other tests.
  wait_for() { for _ in $(seq 1 200); do "$@" && return 0; sleep 0.1; done; return 1; }
  find_main() { main=$(xdotool search --onlyvisible --name '^Fretlore$' 2>/dev/null | head -1); [ -n "$main" ]; }
  find_help() { help=$(xdotool search --onlyvisible --name '^Fretlore Help' 2>/dev/null | head -1); [ -n "$help" ]; }
  ended() { ! kill -0 "$pid" 2>/dev/null; }
  wait_for find_main || { echo "no main window"; kill "$pid"; exit 1; }
  xdotool windowfocus --sync "$main"
  xdotool key F1
  wait_for find_help || { echo "F1 opened no help window"; kill "$pid"; exit 1; }
  xdotool windowfocus --sync "$main"
  xdotool key ctrl+q
  if wait_for ended; then
    wait "$pid" || true
    echo "the program ended with its help window open: OK"
    exit 0
  fi
  echo "the program still runs after Exit with help open"
  kill "$pid"
  exit 1
}
if [ "${FRETLORE_PROBE_INNER:-}" = 1 ]; then
  probe
fi
FRETLORE_PROBE_INNER=1 xvfb-run -a "$0" "$BIN" || { cat "$WORK/out.txt" >&2; exit 1; }
