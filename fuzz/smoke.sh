#!/usr/bin/env bash
# Builds the fuzz targets with clang++ into build-fuzz/ and runs each for about
# FUZZ_SECONDS (30) seconds: the problem-file reader on a seed corpus of files
# the project writes itself, then the CSV performance reader on its own seeds.
# Exits non-zero when the fuzzer finds a crash, a leak, a hang or a broken
# round trip.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=build-fuzz
seconds=${FUZZ_SECONDS:-30}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_problem_file fuzz_csv --parallel 2

# Seeds: the committed corpus, the shipped sample, and problems written by the
# built vesk-cli when it is there.
seeds="$build/seeds"
work="$build/corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$work"
cp fuzz/corpus/*.tri "$seeds/"
cp examples/*.tri "$seeds/"
cli="$root/build/vesk-cli"
if [ -x "$cli" ]; then
  "$cli" new --criteria 2 --actions 2 --categories 2 "$seeds/new-2-2-2.tri" >/dev/null
  "$cli" new --criteria 5 --actions 7 --categories 6 "$seeds/new-5-7-6.tri" >/dev/null
  "$cli" convert fuzz/corpus/old-layout.tri "$seeds/old-layout-converted.tri" >/dev/null
fi

"$build/fuzz_problem_file" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 -dict=fuzz/tri.dict \
  -print_final_stats=1 -artifact_prefix="$build/" "$work" "$seeds"

csv_seeds="$build/csv-seeds"
csv_work="$build/csv-corpus"
rm -rf "$csv_seeds"
mkdir -p "$csv_seeds" "$csv_work"
cp fuzz/corpus-csv/*.csv "$csv_seeds/"
"$build/fuzz_csv" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 \
  -print_final_stats=1 -artifact_prefix="$build/csv-" "$csv_work" "$csv_seeds"
echo "fuzz smoke run: no crash"
