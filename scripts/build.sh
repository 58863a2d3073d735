#!/bin/bash
# Installs what is missing, configures and builds into $BUILD_DIR (build/).
# With target names (tarvik tarvik-setup) only those and what they need are
# built; without, every target, the tests and benchmarks too.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

bash scripts/deps.sh
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -eq 0 ]; then
    cmake --build "$BUILD_DIR" -j"$JOBS"
else
    cmake --build "$BUILD_DIR" -j"$JOBS" --target "$@"
fi
