#!/usr/bin/env bash
# Sets up, builds and runs the program on the shipped example problem.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/vesk-cli check examples/sample.tri
