#!/bin/bash
# Builds the program and its set-up only (not the tests), then starts it.
#
#   run.sh           on the local store: creates build/app/Inventario.qln
#                    beside the program when there is none (an existing
#                    store is left as it is), and the picture folders
#                    build/app/Imagenes/..., and starts the program there.
#   run.sh --server  on the server store: starts the system's MariaDB,
#                    creates the database "Inventario" on it when it holds
#                    no tables, and starts a copy of the program in
#                    build/server/, where no local store lies, so that the
#                    sign-in window offers the server button.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}

server=0
if [ "${1:-}" = "--server" ]; then
    server=1
    shift
fi

bash scripts/build.sh tarvik tarvik-setup

if [ $server -eq 0 ]; then
    "$BUILD_DIR/app/tarvik-setup" --sqlite "$BUILD_DIR/app/Inventario.qln"
    exec "$BUILD_DIR/app/tarvik" "$@"
fi

# The program reaches the server on this machine as root with an empty
# password, through the server's socket.
if ! mariadb-admin ping >/dev/null 2>&1; then
    service mariadb start
fi
# The copy of the program gets its picture folders beside it.
"$BUILD_DIR/app/tarvik-setup" --mariadb --host localhost --user root --password '' --database Inventario \
    --imagenes "$BUILD_DIR/server"
# install replaces the file, so a copy still running elsewhere is no obstacle.
install -D -m 755 "$BUILD_DIR/app/tarvik" "$BUILD_DIR/server/tarvik"
if [ -e "$BUILD_DIR/server/Inventario.qln" ]; then
    echo "run.sh: $BUILD_DIR/server/Inventario.qln would be opened first; move it away to use the server" >&2
    exit 1
fi
exec "$BUILD_DIR/server/tarvik" "$@"
