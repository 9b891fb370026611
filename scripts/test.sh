#!/usr/bin/env bash
# Sets up, builds and runs every test: the ctest suite, then a short fuzz run of
# the problem-file reader when clang is available. The ctest summary is
# repeated at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)" | tee build/ctest-summary.log
if [ -f fuzz/CMakeLists.txt ] && command -v clang++ >/dev/null 2>&1; then
  bash fuzz/smoke.sh
fi
grep -E '^[0-9]+% tests passed' build/ctest-summary.log | tail -n 1
