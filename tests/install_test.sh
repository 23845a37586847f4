#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that it mirrors the build
# tree: bin/noxvale beside res/ with shaders, textures and models.
set -u
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "install failed"; exit 1; }
fail=0
for path in bin/noxvale res/shader/shape.vert res/shader/terrain.frag res/shader/assimpShader.frag \
            res/textures/snow.jpg res/textures/moon.png res/textures/lensflares/lf7.png; do
  [ -e "$prefix/$path" ] || { echo "missing $path"; fail=1; }
done
[ -x "$prefix/bin/noxvale" ] || { echo "bin/noxvale is not executable"; fail=1; }
[ "$fail" -eq 0 ] && echo "install layout ok"
exit "$fail"
