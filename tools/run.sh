#!/usr/bin/env bash
# Sets up, builds and runs Noxvale. With a display it opens the window. Without
# one a window would be drawn where nobody sees it, so it renders the camera
# flight under Xvfb to a contact sheet instead (and to a video when ffmpeg is
# installed) and says where the files are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -n "${DISPLAY:-}" ]; then
  echo "Display $DISPLAY found: opening the Noxvale window."
else
  echo "No display found: rendering the camera flight to pictures instead of a window."
fi
bash "$root/tools/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -n "${DISPLAY:-}" ]; then
  cmake --build "$root/build" --target noxvale -j"$(nproc)"
  cd "$root/build/bin"
  exec ./noxvale
fi

# noxvale brings the resource tree that capture draws with.
cmake --build "$root/build" --target noxvale capture -j"$(nproc)"
out="$root/build/flight"
sheet="$out/flight_sheet.png"
video="$out/flight.mp4"
mkdir -p "$out"
cd "$root/build/bin"
# A frame costs a tenth of a second or more in software: a sheet of 25 moments
# and a video of 8 frames a second keep the whole run to a few minutes.
echo "Drawing 25 moments of the 150-second flight into one picture (about half a minute):"
xvfb-run -a -s "-screen 0 1280x720x24" ./capture --sheet 25 "$sheet" >/dev/null
echo "Contact sheet: $sheet"
if command -v ffmpeg >/dev/null 2>&1; then
  echo "Drawing the flight as a video, 8 frames a second (a few minutes):"
  xvfb-run -a -s "-screen 0 1280x720x24" ./capture --step 0.125 --video 0 150 "$video" >/dev/null
  echo "Video: $video"
else
  echo "No video: ffmpeg is not installed (apt-get install ffmpeg)."
fi
