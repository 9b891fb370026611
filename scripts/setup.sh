#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages (run as root).
# With --bench it also installs the programs the benchmarks compare against.
set -euo pipefail
packages=(cmake g++ ninja-build python3 libgtest-dev libcli11-dev nlohmann-json3-dev clang
          qt6-base-dev qt6-base-private-dev qt6-svg-dev libgl-dev fonts-dejavu-core xvfb xauth imagemagick
          xdotool poppler-utils pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib python3-pandas)
if [ "${1:-}" = "--bench" ]; then
  packages+=(libglpk-dev glpk-utils coinor-cbc valgrind)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: please install as root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
