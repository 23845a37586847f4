#!/usr/bin/env bash
# Runs the whole fault matrix: every image, model, shader stage and program of
# the built resource tree, spoiled in every way the matrix knows, one at a time
# (the test suite runs a fixed sample of it). About two seconds a case.
#   tools/fault_matrix.sh                 main configuration in build/
#   tools/fault_matrix.sh --sanitize      ASan + UBSan build in build-sanitize/
# Extra arguments go to the test program, e.g. --gtest_filter='*moon*'.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"

build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build="$root/build-sanitize"
  options+=(-DNOXVALE_SANITIZE=ON -DNOXVALE_BENCHMARKS=OFF)
  export ASAN_OPTIONS="detect_leaks=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" --target fault_tests -j"$(nproc)"
exec xvfb-run -a -s "-screen 0 1280x768x24" "$build/bin/fault_tests" --full "$@"
