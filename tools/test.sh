#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. GL tests start their own Xvfb.
#   tools/test.sh               main configuration in build/
#   tools/test.sh --sanitize    ASan + UBSan build in build-sanitize/
#   tools/test.sh --display B   display configuration B (or C) in build-B/
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"

build="$root/build"
# CI sets NOXVALE_WERROR=ON: a warning in the project's own code fails the build.
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOXVALE_WERROR="${NOXVALE_WERROR:-OFF}")
case "${1:-}" in
  --sanitize)
    build="$root/build-sanitize"
    options+=(-DNOXVALE_SANITIZE=ON -DNOXVALE_BENCHMARKS=OFF)
    # Xlib and the GL loader keep some allocations for the life of the process;
    # the suite's own leaks are still reported.
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ;;
  --display)
    build="$root/build-${2:?--display needs B or C}"
    options+=(-DNOXVALE_DISPLAY="$2" -DNOXVALE_BENCHMARKS=OFF)
    ;;
  "") ;;
  *) echo "usage: $0 [--sanitize | --display B|C]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
