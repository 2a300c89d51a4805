#!/usr/bin/env bash
# Configures and builds everything into ./build (plug-in, host stand-ins, tests, benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}"
cmake --build "$BUILD_DIR" -j2
