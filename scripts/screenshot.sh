#!/usr/bin/env bash
# Starts the real program on a virtual X server of 1920 x 1080, opens a
# problem, runs Robust Assignments and photographs the whole screen.
#   scripts/screenshot.sh [--window] [PROBLEM.tri] [OUT.png]
# Defaults: examples/sample.tri and build/vesk-screen.png. With --window the
# picture is cut to the main window (as the manual shows it). Needs a built
# build/vesk (scripts/build.sh), Xvfb, imagemagick and, for --window, xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
window=false
if [[ "${1:-}" == "--window" ]]; then
  window=true
  shift
fi
problem=${1:-examples/sample.tri}
out=${2:-build/vesk-screen.png}
[[ -x build/vesk ]] || { echo "build/vesk is missing: run scripts/build.sh first" >&2; exit 1; }

# A free display number.
display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
vesk=
cleanup() {
  [[ -n "$vesk" ]] && kill "$vesk" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done

# The real window: no about box (nobody is there to press its OK), the
# problem opened from the command line, Robust Assignments run once it is in.
build/vesk --no-about --run-robust "$problem" &
vesk=$!
sleep "${VESK_SCREENSHOT_WAIT:-4}"
kill -0 "$vesk" 2>/dev/null || { echo "the program ended early" >&2; exit 1; }
if $window; then
  # The main window's rectangle on the screen, from its caption.
  id=$(xdotool search --pid "$vesk" --name "^Vesk 2" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
else
  import -window root "$out"
fi
echo "Screen with the main window on $problem after Robust Assignments: $out"
