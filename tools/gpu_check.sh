#!/usr/bin/env bash
# Runs the GL test executables and the frame benchmark against the GPU's own
# OpenGL driver, on a machine with a GPU and a display, and prints a summary.
# The test suite itself (tools/test.sh) always draws with Mesa under Xvfb; this
# is the check that the same code and tests hold on a real driver.
#   bash tools/gpu_check.sh [TEST_EXECUTABLE...]   (default: every GL test executable)
# Exit codes: 0 everything passed, 1 something failed, 2 no GPU driver behind $DISPLAY.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-gpu-check"
testTimeout=600  # seconds per executable

if [ -z "${DISPLAY:-}" ]; then
  echo "gpu_check: no DISPLAY: run it in the desktop session of the machine with the GPU" >&2
  exit 2
fi
bash "$root/tools/setup.sh" || exit 2
# Frames as fast as they come: no waiting for the display's refresh.
export __GL_SYNC_TO_VBLANK=0 vblank_mode=0
renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')
version=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL version string: //p')
case "$renderer" in
  "") echo "gpu_check: glxinfo found no OpenGL renderer on $DISPLAY" >&2; exit 2 ;;
  *llvmpipe*|*softpipe*|*"Software Rasterizer"*)
    echo "gpu_check: $DISPLAY draws with '$renderer', a software rasteriser, not a GPU" >&2; exit 2 ;;
esac
echo "gpu_check: $renderer, OpenGL $version"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" >/dev/null || { echo "gpu_check: the build failed" >&2; exit 1; }

glTests=(window_tests shader_tests mesh_texture_tests shape_tests terrain_tests model_tests render_target_tests
         water_tests culling_tests particle_tests postprocessing_tests frame_tests golden_tests soak_tests)
[ $# -gt 0 ] && glTests=("$@")
logs="$build/gpu-check"
rm -rf "$logs" "$build/Testing/golden"
mkdir -p "$logs"
failed=0
summary=()
run() {  # run NAME COMMAND...: one line of the summary from the executable's own report
  local name=$1; shift
  (cd "$build/bin" && timeout "$testTimeout" "$@") > "$logs/$name.txt" 2>&1
  local code=$?
  local line
  line=$(grep -E '^\[  (PASSED|FAILED)  \] [0-9]' "$logs/$name.txt" | tr '\n' ' ')
  if [ "$code" -ne 0 ]; then
    failed=1
    line="FAILED (exit $code): $line$(grep -E '^\[  FAILED  \] [A-Za-z]' "$logs/$name.txt" | sed 's/^\[  FAILED  \] //;s/,.*//' | sort -u | tr '\n' ' ')"
  fi
  summary+=("$(printf '%-34s %s' "$name" "$line")")
  echo "${summary[-1]}"
}
for t in "${glTests[@]}"; do run "$t" "./$t"; done
[ $# -gt 0 ] || run golden_tests_perturbed_particles env NOXVALE_PERTURBED_PARTICLES=1 ./golden_tests

echo "== frame benchmark"
(cd "$build/bin" && timeout "$testTimeout" ./frame_benchmark --json "$logs/frame_benchmark.json") > "$logs/frame_benchmark.txt" 2>&1 \
  || { failed=1; echo "frame_benchmark failed, see $logs/frame_benchmark.txt"; }
tail -n 15 "$logs/frame_benchmark.txt"

echo "== summary on $renderer"
printf '%s\n' "${summary[@]}"
echo "Logs: $logs/; frames that failed their reference: $build/Testing/golden/ (compare_frames shows why)."
exit "$failed"
