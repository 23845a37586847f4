#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. GL tests start their own Xvfb.
#   tools/test.sh            main build in build/
#   tools/test.sh --sanitize ASan + UBSan build in build-sanitize/
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"

build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-sanitize"
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOXVALE_SANITIZE=ON -DNOXVALE_BENCHMARKS=OFF)
  # Xlib and the GL loader keep some allocations for the life of the process;
  # the suite's own leaks are still reported.
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
