#!/usr/bin/env bash
# Draws the reference frames anew into tests/golden/<configuration>/, for
# each display configuration: after a deliberate change to the picture, run
#   bash tools/regenerate_golden.sh
# and look at every changed picture before committing it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
for display in MAIN B C; do
  if [ "$display" = MAIN ]; then build="$root/build"; screen=1280x768x24; else build="$root/build-$display"; fi
  [ "$display" = B ] && screen=1920x1080x24
  [ "$display" = C ] && screen=1280x768x24
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOXVALE_DISPLAY="$display" >/dev/null
  cmake --build "$build" --target golden_tests -j"$(nproc)"
  (cd "$build/bin" && NOXVALE_REGENERATE_GOLDEN=1 xvfb-run -a -s "-screen 0 $screen" ./golden_tests --gtest_filter='Frames/*:*EveryStretchOfTheFlight*')
done
git -C "$root" status --short tests/golden
