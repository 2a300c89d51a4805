#!/usr/bin/env bash
# The benchmark command: installs what the benchmarks need (ImageMagick as the
# reference), builds in Release and runs the photo compression benchmark.
# Extra arguments go to the benchmark (e.g. --reps 9, --convert /path/to/convert).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh imagemagick
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j2 --target bench_photocompression
"$BUILD_DIR/bin/bench_photocompression" "$@"
bash scripts/deps.sh sqlite3 && cmake --build "$BUILD_DIR" -j2 --target bench_housestore && "$BUILD_DIR/bin/bench_housestore"
cmake --build "$BUILD_DIR" -j2 --target bench_sync && QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/bench_sync"
