#!/bin/bash
# Builds, creates the local store beside the program when there is none (an
# existing store is left as it is), and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}

bash scripts/build.sh
"$BUILD_DIR/app/tarvik-setup" --sqlite "$BUILD_DIR/app/Inventario.qln"
exec "$BUILD_DIR/app/tarvik" "$@"
