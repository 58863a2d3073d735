#!/bin/bash
# A private MariaDB server for the tests: its own data folder, port and
# socket on loopback, root with an empty password over TCP. The system's own
# MariaDB service is neither needed nor touched.
#
#   eval "$(bash scripts/mariadb-test.sh start)"   # exports TARVIK_MARIADB_*
#   bash scripts/mariadb-test.sh stop [DIR]          # DIR defaults to $TARVIK_MARIADB_DIR
#   bash scripts/mariadb-test.sh halt DIR            # stops the server, keeps its data
#   bash scripts/mariadb-test.sh resume DIR          # starts it again on the same port
set -euo pipefail

. "$(dirname "$0")/mariadb-lib.sh"

# Starts the server of dir on port in the background; its pid goes to
# dir/server.pid. Each server has a temporary folder of its own, since a
# server that starts removes the temporary tables it finds there.
# TARVIK_MARIADB_FLUSH_AT_COMMIT=1 keeps every commit across a server that
# had to be killed.
launch() {
    local dir=$1 port=$2
    mkdir -p "$dir/tmp"
    "$(find_bin mariadbd mysqld)" --no-defaults --user=root --datadir="$dir/data" --tmpdir="$dir/tmp" \
        --bind-address=127.0.0.1 --port="$port" --socket="$dir/mysqld.sock" \
        --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" \
        --skip-name-resolve --skip-log-bin \
        --innodb-buffer-pool-size=128M --innodb-log-file-size=64M \
        --innodb-flush-log-at-trx-commit="${TARVIK_MARIADB_FLUSH_AT_COMMIT:-0}" --innodb-doublewrite=0 --innodb-flush-method=nosync \
        >/dev/null 2>&1 &
    echo "$!" >"$dir/server.pid"
}

# Waits until the server of pid answers on port; fails when it ends first
# or after 60 s. Another run's server may hold the port while ours is still
# failing to bind it, so the answer counts only when it names our socket.
answers() {
    local pid=$1 port=$2 dir=$3 client waited sock
    client=$(find_bin mariadb mysql)
    for ((waited = 0; waited < 600; waited++)); do
        kill -0 "$pid" 2>/dev/null || return 1
        sock=$("$client" --no-defaults --protocol=tcp -h127.0.0.1 -P"$port" -uroot --connect-timeout=2 \
                -N -B -e 'SELECT @@socket' 2>/dev/null || true)
        if [ "$sock" = "$dir/mysqld.sock" ]; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

start() {
    local install dir port pid i
    find_bin mariadbd mysqld >/dev/null
    install=$(find_bin mariadb-install-db mysql_install_db)

    dir=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-mariadb.XXXXXX")
    # The bootstrap server, too, clears temporary tables from its tmpdir.
    mkdir -p "$dir/tmp"
    if ! "$install" --no-defaults --datadir="$dir/data" --tmpdir="$dir/tmp" --user=root \
            --auth-root-authentication-method=normal --skip-test-db \
            >"$dir/install.log" 2>&1; then
        echo "mariadb-test.sh: mariadb-install-db failed:" >&2
        cat "$dir/install.log" >&2
        rm -rf "$dir"
        return 1
    fi

    # A port that another run takes between the check and the bind makes the
    # server exit; then the next port is tried.
    port=${TARVIK_MARIADB_PORT_BASE:-33061}
    for ((i = 0; i < 50; i++, port++)); do
        port_busy "$port" && continue
        launch "$dir" "$port"
        pid=$(cat "$dir/server.pid")
        if answers "$pid" "$port" "$dir"; then
            echo "$port" >"$dir/port"
            echo "export TARVIK_MARIADB_DIR='$dir'"
            echo "export TARVIK_MARIADB_HOST=127.0.0.1"
            echo "export TARVIK_MARIADB_PORT=$port"
            return 0
        fi
        if kill -0 "$pid" 2>/dev/null; then
            echo "mariadb-test.sh: server on port $port did not answer within 60 s" >&2
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            cat "$dir/error.log" >&2 || true
            rm -rf "$dir"
            return 1
        fi
        wait "$pid" 2>/dev/null || true
        if ! grep -qi "address already in use\|do you already have another" "$dir/error.log" 2>/dev/null; then
            echo "mariadb-test.sh: server failed to start:" >&2
            cat "$dir/error.log" >&2 || true
            rm -rf "$dir"
            return 1
        fi
        : >"$dir/error.log"
    done
    echo "mariadb-test.sh: no free port found" >&2
    rm -rf "$dir"
    return 1
}

# Fails unless dir is a folder made by start.
server_folder() {
    made_folder "$1" tarvik-mariadb server
}

# Shuts the server of dir down and waits for it to end.
halt() {
    local dir=$1
    server_folder "$dir"
    shutdown_server "$dir/mysqld.sock" "$(cat "$dir/server.pid" 2>/dev/null || true)"
}

stop() {
    local dir=${1:-${TARVIK_MARIADB_DIR:-}}
    server_folder "$dir"
    halt "$dir"
    rm -rf "$dir"
}

resume() {
    local dir=${1:-} port pid
    server_folder "$dir"
    port=$(cat "$dir/port")
    launch "$dir" "$port"
    pid=$(cat "$dir/server.pid")
    if ! answers "$pid" "$port" "$dir"; then
        echo "mariadb-test.sh: server on port $port did not start again:" >&2
        tail -20 "$dir/error.log" >&2 || true
        return 1
    fi
}

case "${1:-}" in
    start) start ;;
    stop) shift; stop "$@" ;;
    halt) shift; halt "${1:-}" ;;
    resume) shift; resume "$@" ;;
    *) echo "usage: $0 start | stop [DIR] | halt DIR | resume DIR" >&2; exit 2 ;;
esac
