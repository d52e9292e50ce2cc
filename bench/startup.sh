#!/usr/bin/env bash
# Times the real program's start under Xvfb: from exec until its main window is
# mapped and visible, and its resident memory two seconds later. Prints each run and
# the medians. Usage: bench/startup.sh [RUNS] (needs xvfb-run and xdotool).
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS="${1:-7}"
BIN="${FRETLORE_BUILD_DIR:-build}/fretlore"
[ -x "$BIN" ] || { echo "build first: scripts/build" >&2; exit 1; }

inner() {
  local bin="$1" runs="$2" home
  for i in $(seq "$runs"); do
    home="$(mktemp -d)"
    mkdir -p "$home/config" "$home/data"
    # A stored learner-free setup with sound off, so no message box stops the start.
    mkdir -p "$home/config/Fretlore"
    printf '[%%General]\nEnableSound=False\n' > "$home/config/Fretlore/Fretlore.conf"
    mkdir -p "$home/config/Fretlore"
    printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n' > "$home/config/Fretlore/fretlore.conf"
    local start end pid
    start=$(date +%s%N)
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$bin" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '^Fretlore' >/dev/null 2>&1; do sleep 0.01; done
    end=$(date +%s%N)
    sleep 2
    local rss
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    rm -rf "$home"
    echo "run $i: $(( (end - start) / 1000000 )) ms to the visible window, $(( rss / 1024 )) MB resident"
  done
}
if [ "${FRETLORE_STARTUP_INNER:-}" = 1 ]; then
  inner "$BIN" "$RUNS"
  exit 0
fi
FRETLORE_STARTUP_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$RUNS" | tee /tmp/fretlore-startup.txt
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "median: $(awk '/^run/ {print $3}' /tmp/fretlore-startup.txt | median) ms," \
  "$(awk '/^run/ {print $9}' /tmp/fretlore-startup.txt | median) MB"
