#!/usr/bin/env bash
# compare_frames answers 0 for a match, 1 for a mismatch (with its figures) and
# 2 for bad input (with a message naming the file), and writes the difference
# picture it is asked for.
#   compare_frames_test.sh COMPARE_FRAMES REFERENCE_DIRECTORY
set -u
tool=$1
references=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
expect() {  # expect CODE PATTERN DESCRIPTION -- ARGUMENTS...
  local code=$1 pattern=$2 what=$3; shift 4
  "$tool" "$@" > "$work/out" 2>&1
  local got=$?
  if [ "$got" -ne "$code" ] || ! grep -q -- "$pattern" "$work/out"; then
    echo "FAIL: $what: exit $got, expected $code with '$pattern':"; cat "$work/out"; failed=1
  fi
}
frame=$references/god_rays.png
expect 0 '^match: 0.000 %' "a frame against itself" -- "$frame" "$frame" "$work/difference.png"
[ -s "$work/difference.png" ] || { echo "FAIL: no difference picture written"; failed=1; }
expect 1 '^MISMATCH: .* % of pixels differ' "two different frames" -- "$frame" "$references/lamp_flares.png"
expect 2 'is 320 x 180 but .* is 160 x 90' "frames of different sizes" -- "$frame" "$references/flight_at_005s.png"
expect 2 "cannot read $work/missing.png" "a missing file" -- "$frame" "$work/missing.png"
printf 'not a picture' > "$work/text.png"
expect 2 "cannot read $work/text.png" "a file that is no picture" -- "$work/text.png" "$frame"
expect 2 'usage:' "one argument" -- "$frame"
expect 2 "cannot write $work/no/such/dir.png" "an unwritable difference picture" -- "$frame" "$frame" "$work/no/such/dir.png"
exit $failed
