#!/usr/bin/env bash
# Sets up, builds and runs every test: the ctest suite, then a short fuzz run of
# the problem-file reader when clang is available.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
if [ -f fuzz/CMakeLists.txt ] && command -v clang++ >/dev/null 2>&1; then
  bash fuzz/smoke.sh
fi
