#!/usr/bin/env bash
# Checks the project's own C++ sources: their formatting against .clang-format
# and clang-tidy's findings with .clang-tidy. Exits non-zero on any difference
# or finding, naming it.
#   tools/lint.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
cd "$root"

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.inl')
echo "lint: clang-format on ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

# clang-tidy reads the compile commands of a configured tree; configuring is
# enough, nothing needs building.
build="$root/build-lint"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "lint: clang-tidy on every translation unit of the project's own targets"
run-clang-tidy -p "$build" -quiet -j "$(nproc)" \
  "^$root/(app|shaders|assets|terrain|water|shapes|gpu_particles|postprocessing|tools|tests)/" > "$build/clang-tidy.log" 2>&1 || {
  grep -E "(warning|error): " "$build/clang-tidy.log" | sort -u
  echo "lint: clang-tidy found the above (full output in $build/clang-tidy.log)"
  exit 1
}
echo "lint: clean"
