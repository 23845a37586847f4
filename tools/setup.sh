#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Noxvale needs.
# Idempotent: when everything is present it only checks dpkg and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libstb-dev libassimp-dev zlib1g-dev
  libgl1-mesa-dri libgl-dev libx11-dev libxrandr-dev mesa-utils xvfb xauth xdotool
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format clang-tidy
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
