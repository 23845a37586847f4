#!/usr/bin/env bash
# Sets up, builds and runs Noxvale. Without a display it runs under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target noxvale -j"$(nproc)"
cd "$root/build/bin"
if [ -n "${DISPLAY:-}" ]; then
  exec ./noxvale
fi
echo "No display found: running under Xvfb (a virtual screen nobody sees). Use a desktop session to watch." >&2
exec xvfb-run -a -s "-screen 0 1280x720x24" ./noxvale
