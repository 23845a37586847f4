#!/usr/bin/env bash
# Runs the real program: without any display it must exit 1 silently; under
# Xvfb it must run until Escape and then return 0. Run from bin/.
set -u
binary="$1"
screen="${2:-1280x720x24}"
fail=0

out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$binary" 2>&1)
code=$?
if [ "$code" -ne 1 ]; then echo "no display: exit code $code, expected 1"; fail=1; fi
if [ -n "$out" ]; then echo "no display: printed '$out', expected nothing"; fail=1; fi

log=$(mktemp)
xvfb-run -a -s "-screen 0 $screen" bash -c '
  "$1" > "$2" 2>&1 &
  pid=$!
  # Wait for the window, then hold Escape for longer than a frame.
  for i in $(seq 1 100); do xdotool search --name "^nox$" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 0.5
  # A fullscreen window is not focused by anyone when no window manager runs.
  xdotool search --name "^nox$" windowfocus
  xdotool keydown Escape; sleep 1; xdotool keyup Escape
  for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "still running after Escape"; kill $pid; exit 99; fi
  wait $pid
' _ "$binary" "$log"
code=$?
if [ "$code" -ne 0 ]; then echo "Escape: exit code $code, expected 0"; cat "$log"; fail=1; fi
rm -f "$log"

if [ "$fail" -eq 0 ]; then echo "program tests passed"; fi
exit "$fail"
