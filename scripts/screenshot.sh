#!/usr/bin/env bash
# Starts the real program on a virtual X server of 1920 x 1080, opens a
# problem, runs Robust Assignments, maximises the window and photographs the
# whole screen.
#   scripts/screenshot.sh [--window] [--stale] [PROBLEM.tri] [OUT.png]
# Defaults: examples/sample.tri and build/vesk-screen.png. With --window the
# picture is cut to the main window (as the manual shows it); with --stale a
# performance is typed first (the first action's first criterion becomes 41),
# so that the picture shows results out of date. The program keeps its
# settings in a folder of the run's own, so that every picture starts alike.
# Needs a built build/vesk (scripts/build.sh), Xvfb, imagemagick and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
window=false
stale=false
while [[ "${1:-}" == --* ]]; do
  case "$1" in
    --window) window=true ;;
    --stale) stale=true ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
problem=${1:-examples/sample.tri}
out=${2:-build/vesk-screen.png}
[[ -x build/vesk ]] || { echo "build/vesk is missing: run scripts/build.sh first" >&2; exit 1; }

# A free display number.
display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
vesk=
settings=$(mktemp -d)
cleanup() {
  [[ -n "$vesk" ]] && kill "$vesk" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$settings"
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done

# The real window: no about box (nobody is there to press its OK), the
# problem opened from the command line, Robust Assignments run once it is in.
XDG_CONFIG_HOME="$settings" build/vesk --no-about --run-robust "$problem" &
vesk=$!
id=
for _ in $(seq 300); do
  id=$(xdotool search --pid "$vesk" --name "^Vesk 2" 2>/dev/null | head -1 || true)
  [[ -n "$id" ]] && break
  sleep 0.1
done
[[ -n "$id" ]] || { echo "the main window did not appear" >&2; exit 1; }
# Maximised: the whole screen (a bare X server has no window manager to ask).
xdotool windowmove "$id" 0 0 windowsize "$id" 1920 1080
sleep "${VESK_SCREENSHOT_WAIT:-4}"
kill -0 "$vesk" 2>/dev/null || { echo "the program ended early" >&2; exit 1; }
if $stale; then
  # Opening put the keyboard on the first performance: a new value there.
  xdotool windowfocus --sync "$id"
  xdotool type --delay 60 "41"
  xdotool key Return
  sleep 1
fi
if $window; then
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
else
  import -window root "$out"
fi
what="after Robust Assignments"
$stale && what="with results out of date after an edit"
echo "Screen with the main window on $problem $what: $out"
