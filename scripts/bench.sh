#!/usr/bin/env bash
# The benchmark command: installs what the benchmarks compare against (ImageMagick, the
# sqlite3 shell), builds in Release and runs every benchmark in turn. Extra arguments go to
# the photo compression benchmark (e.g. --reps 9, --convert /path/to/convert).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh imagemagick sqlite3
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j2 --target bench_photocompression bench_housestore bench_sync bench_houselist
"$BUILD_DIR/bin/bench_photocompression" "$@"
"$BUILD_DIR/bin/bench_housestore"
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/bench_sync"
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/bench_houselist"
