#!/usr/bin/env bash
# The capture tool: the same moment from two processes gives identical
# files, and wrong arguments are refused with the usage text. Run from bin/.
set -u
capture="$1"
screen="${2:-1280x720x24}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail=0

for run in first second; do
  xvfb-run -a -s "-screen 0 $screen" "$capture" --step 0.5 "$out/$run" 6 > /dev/null 2>&1 ||
    { echo "capture failed in the $run run"; fail=1; }
done
if ! cmp -s "$out/first_6.png" "$out/second_6.png"; then echo "two runs drew different pictures"; fail=1; fi

"$capture" --step 0 "$out/x" 1 > /dev/null 2> "$out/usage"
code=$?
if [ "$code" -ne 2 ] || ! grep -q "^usage:" "$out/usage"; then echo "a zero frame time: exit $code, expected 2 with usage"; fail=1; fi
"$capture" --range 5 1 "$out/x" > /dev/null 2>&1
code=$?
if [ "$code" -ne 2 ]; then echo "a backwards range: exit $code, expected 2"; fail=1; fi

if [ "$fail" -eq 0 ]; then echo "capture tests passed"; fi
exit "$fail"
