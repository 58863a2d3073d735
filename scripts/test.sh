#!/bin/bash
# Builds, starts a private MariaDB server (stopped again on any exit),
# creates "Inventario" on it, and runs every test; store tests run on SQLite
# and on MariaDB. Exits with ctest's code.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
CTEST_JOBS=${CTEST_JOBS:-8}

bash scripts/build.sh

server_env=$(bash scripts/mariadb-test.sh start)
eval "$server_env"
trap 'bash scripts/mariadb-test.sh stop "$TARVIK_MARIADB_DIR"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
export TARVIK_MARIADB_HOST TARVIK_MARIADB_PORT
echo "test.sh: MariaDB test server on $TARVIK_MARIADB_HOST:$TARVIK_MARIADB_PORT"

"$BUILD_DIR/app/tarvik-setup" --mariadb --host "$TARVIK_MARIADB_HOST" --port "$TARVIK_MARIADB_PORT" \
    --user root --password '' --database Inventario

set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$CTEST_JOBS"
rc=$?
set -e
exit $rc
