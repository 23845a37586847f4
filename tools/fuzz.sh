#!/usr/bin/env bash
# Fuzzes the texture loader's decoding and the model loader's import and mesh
# building with libFuzzer, each for a fixed number of inputs, starting from the
# generated textures and models.
#   tools/fuzz.sh [INPUTS]     inputs per target, 20000 unless given
# Builds in build-fuzz/ with clang; what a run learns is in build-fuzz/corpus/
# (each run starts afresh from the seeds), anything that fails lands in
# build-fuzz/crashes/.
# A crash in our code is fixed and its input kept as a unit test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
inputs="${1:-20000}"
bash "$root/tools/setup.sh"

# clang and its fuzzing runtime are needed here only, not by the test suite.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

# The seeds are the generated assets of the main build.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target noxvale_assets -j"$(nproc)" >/dev/null

fuzz="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOXVALE_FUZZ=ON \
  -DNOXVALE_TESTS=OFF -DNOXVALE_BENCHMARKS=OFF >/dev/null
cmake --build "$fuzz" --target image_fuzzer model_fuzzer -j"$(nproc)"

# Inputs are cut to max_len: the largest seeds (the sky faces, the campfire)
# would slow every run down for little new; smaller seeds of each kind remain
# whole. The importer leaks the meshes it built, and the file it read, when it
# gives up on a file (a known fault of the library, once per failed model in
# the program), so the model fuzzer looks for crashes and memory errors, not
# leaks, neither for each input nor at its end.
declare -A options=([image]="-max_len=131072" [model]="-max_len=65536")
declare -A leaks=([image]=1 [model]=0)

found=0
for target in image model; do
  seeds="$fuzz/seeds/$target"
  rm -rf "$seeds" "$fuzz/corpus/$target"  # the same run every time
  mkdir -p "$seeds" "$fuzz/corpus/$target" "$fuzz/crashes"
  if [ "$target" = image ]; then
    find "$root/build/res" \( -name '*.png' -o -name '*.jpg' \) -exec cp {} "$seeds/" \;
  else
    find "$root/build/res" -name '*.obj' -exec cp {} "$seeds/" \;
  fi
  # Inputs that once broke something stay in every run.
  if [ -d "$root/tests/fuzz/seeds/$target" ]; then cp "$root/tests/fuzz/seeds/$target"/* "$seeds/"; fi
  echo "fuzzing the $target path: $inputs inputs"
  start=$(date +%s)
  # shellcheck disable=SC2086
  if ! ASAN_OPTIONS="detect_leaks=${leaks[$target]}" "$fuzz/bin/${target}_fuzzer" -runs="$inputs" -seed=1 -print_final_stats=1 ${options[$target]} \
       -artifact_prefix="$fuzz/crashes/$target-" "$fuzz/corpus/$target" "$seeds" 2> "$fuzz/$target.log"; then
    found=1
    tail -n 40 "$fuzz/$target.log"
  fi
  grep -E "^stat::(number_of_executed_units|peak_rss_mb|new_units_added)" "$fuzz/$target.log" || true
  echo "$target: $(( $(date +%s) - start )) s"
done
exit "$found"
