#!/usr/bin/env bash
# Draws the README's pictures into docs/:   bash tools/make_gallery.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target gallery noxvale_resources noxvale_assets -j"$(nproc)"
mkdir -p "$root/docs"
cd "$root/build/bin"
xvfb-run -a -s "-screen 0 1280x768x24" ./gallery "$root/docs"
