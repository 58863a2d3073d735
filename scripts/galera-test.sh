#!/bin/bash
# A private three-node MariaDB Galera cluster on loopback for trying the
# server store on a cluster by hand: each node with its own data folder,
# client port, socket, group port, IST and SST addresses, all in one
# temporary folder of its own; root with an empty password over TCP. The
# store "Inventario" is made on node 1 by tarvik-setup and replicated to the
# others. The system's own MariaDB service is neither needed nor touched.
#
#   eval "$(bash scripts/galera-test.sh start)"   # exports TARVIK_GALERA_*
#   bash scripts/galera-test.sh status [DIR]        # each node's state and cluster size
#   bash scripts/galera-test.sh stop [DIR]          # DIR defaults to $TARVIK_GALERA_DIR
#
# TARVIK_SETUP names tarvik-setup (default build/app/tarvik-setup);
# TARVIK_GALERA_PORT_BASE the first port tried (default 24061).
#
# The state transfer: a joiner gets its data by rsync from a donor. The
# joiner's side of that is an rsync daemon, and a daemon started by root
# drops to "nobody" for the transfer, which then cannot write the data
# folder that a server running as root keeps private; the transfer fails
# with rsync code 3, and so does the incremental one, which runs the same
# script. So the nodes use a method of their own, "tarvik_rsync": a
# wrapper in the cluster folder (found on PATH, for these nodes only) that
# runs the stock rsync method with an rsync first on PATH that tells the
# daemon to keep root's user and group. Joiners then start with an empty
# data folder and receive node 1's whole state, as on real machines.
set -euo pipefail

readonly NODES=3
readonly PROVIDER=/usr/lib/galera/libgalera_smm.so
readonly SCRIPTS=$(cd "$(dirname "$0")" && pwd)

. "$SCRIPTS/mariadb-lib.sh"

# The first port from $1 on that nobody listens on.
free_port() {
    local p=$1
    while port_busy "$p"; do p=$((p + 1)); done
    echo "$p"
}

# Runs SQL on node n of dir through its socket; prints the bare result.
sql() {
    local dir=$1 n=$2
    shift 2
    "$(find_bin mariadb mysql)" --no-defaults --socket="$dir/node$n/mysqld.sock" -uroot -N -B \
        --connect-timeout=2 -e "$*" 2>/dev/null
}

status_of() {
    sql "$1" "$2" "SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE VARIABLE_NAME = '$3'"
}

write_wrappers() {
    local bin=$1
    mkdir -p "$bin"
    cat >"$bin/wsrep_sst_tarvik_rsync" <<'EOF'
#!/bin/bash
# The stock rsync state transfer, with the rsync of this folder first on PATH.
here=$(cd "$(dirname "$0")" && pwd)
PATH="$here:$PATH" exec /usr/bin/wsrep_sst_rsync "$@"
EOF
    cat >"$bin/rsync" <<'EOF'
#!/bin/bash
# The joiner's rsync daemon keeps root's user and group for the transfer.
prev=
for a in "$@"; do
    if [ "$prev" = --config ] && [ -f "$a" ] && ! grep -q '^uid = root$' "$a"; then
        sed -i '1i uid = root\ngid = root' "$a"
    fi
    prev=$a
done
exec /usr/bin/rsync "$@"
EOF
    chmod +x "$bin/wsrep_sst_tarvik_rsync" "$bin/rsync"
}

# Starts node n of dir in the background (its pid to node<n>/server.pid).
# Node 1 of a new cluster bootstraps it; the others join through node 1.
launch() {
    local dir=$1 n=$2 node client group first_group
    node="$dir/node$n"
    client=$(cat "$node/port")
    group=$(cat "$node/group_port")
    first_group=$(cat "$dir/node1/group_port")
    local -a cluster
    if [ "$n" -eq 1 ]; then
        cluster=(--wsrep-new-cluster --wsrep-cluster-address=gcomm://)
    else
        cluster=(--wsrep-cluster-address="gcomm://127.0.0.1:$first_group")
    fi
    mkdir -p "$node/data" "$node/tmp"
    PATH="$dir/bin:$PATH" "$(find_bin mariadbd mysqld)" --no-defaults --user=root \
        --datadir="$node/data" --tmpdir="$node/tmp" \
        --bind-address=127.0.0.1 --port="$client" --socket="$node/mysqld.sock" \
        --pid-file="$node/mysqld.pid" --log-error="$node/error.log" \
        --skip-name-resolve --skip-log-bin \
        --innodb-buffer-pool-size=128M --innodb-log-file-size=64M \
        --innodb-flush-log-at-trx-commit=2 --innodb-doublewrite=0 --innodb-flush-method=nosync \
        --binlog-format=ROW --innodb-autoinc-lock-mode=2 --default-storage-engine=InnoDB \
        --wsrep-on=ON --wsrep-provider="$PROVIDER" \
        --wsrep-cluster-name="$(cat "$dir/cluster_name")" --wsrep-node-name="node$n" \
        --wsrep-node-address="127.0.0.1:$group" --wsrep-node-incoming-address="127.0.0.1:$client" \
        --wsrep-provider-options="base_host=127.0.0.1;base_port=$group;gmcast.listen_addr=tcp://127.0.0.1:$group;ist.recv_addr=127.0.0.1:$((group + 1));gcache.size=128M" \
        --wsrep-sst-method=tarvik_rsync --wsrep-sst-receive-address="127.0.0.1:$((group + 2))" \
        "${cluster[@]}" \
        >/dev/null 2>&1 &
    echo "$!" >"$node/server.pid"
}

# Waits until node n is Synced with the cluster (two minutes at most: a
# joiner receives the whole state first); fails when it ends first.
synced() {
    local dir=$1 n=$2 pid waited
    pid=$(cat "$dir/node$n/server.pid")
    for ((waited = 0; waited < 1200; waited++)); do
        kill -0 "$pid" 2>/dev/null || return 1
        [ "$(status_of "$dir" "$n" wsrep_local_state_comment || true)" = Synced ] && return 0
        sleep 0.1
    done
    return 1
}

# Fails unless dir is a folder made by start.
cluster_folder() {
    made_folder "$1" tarvik-galera cluster cluster_name
}

halt_node() {
    shutdown_server "$1/node$2/mysqld.sock" "$(cat "$1/node$2/server.pid" 2>/dev/null || true)"
}

# Shuts the nodes of dir down, the last first.
halt_all() {
    local dir=$1 n
    for ((n = NODES; n >= 1; n--)); do
        halt_node "$dir" "$n"
    done
}

# Gives up: says why with the node's log, stops what was started, removes
# the folder.
give_up() {
    local dir=$1 n=$2
    shift 2
    echo "galera-test.sh: $*" >&2
    [ -f "$dir/node$n/error.log" ] && tail -30 "$dir/node$n/error.log" >&2
    halt_all "$dir"
    rm -rf "$dir"
    exit 1
}

start() {
    local install setup dir n port i size tables
    find_bin mariadbd mysqld >/dev/null
    install=$(find_bin mariadb-install-db mysql_install_db)
    setup=${TARVIK_SETUP:-$SCRIPTS/../build/app/tarvik-setup}
    if [ ! -x "$setup" ]; then
        echo "galera-test.sh: $setup not found (build first, or set TARVIK_SETUP)" >&2
        return 1
    fi
    for f in "$PROVIDER" /usr/bin/wsrep_sst_rsync /usr/bin/rsync; do
        [ -e "$f" ] || { echo "galera-test.sh: $f missing (apt-get install galera-4 rsync)" >&2; return 1; }
    done

    dir=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-galera.XXXXXX")
    trap 'halt_all "$dir"; rm -rf "$dir"; exit 130' INT TERM
    # A name of its own: another run's cluster on loopback is never joined.
    echo "tarvik_$(basename "$dir" | cut -d. -f2)" >"$dir/cluster_name"
    write_wrappers "$dir/bin"
    mkdir -p "$dir/install-tmp"
    if ! "$install" --no-defaults --datadir="$dir/node1/data" --tmpdir="$dir/install-tmp" --user=root \
            --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1; then
        echo "galera-test.sh: mariadb-install-db failed:" >&2
        cat "$dir/install.log" >&2
        rm -rf "$dir"
        return 1
    fi

    # Each node: a client port, then a group port with IST and SST on the
    # two after it. A port nobody listens on may still be the local end of
    # some connection, and then the node cannot bind it: such a node starts
    # again on the next free ports (below the range the system hands out
    # for connections, that is rare).
    port=${TARVIK_GALERA_PORT_BASE:-24061}
    for ((n = 1; n <= NODES; n++)); do
        for ((i = 1; ; i++)); do
            mkdir -p "$dir/node$n/tmp"
            port=$(free_port "$port")
            echo "$port" >"$dir/node$n/port"
            port=$((port + 1))
            while port_busy "$port" || port_busy $((port + 1)) || port_busy $((port + 2)); do port=$((port + 1)); done
            echo "$port" >"$dir/node$n/group_port"
            port=$((port + 3))
            launch "$dir" "$n"
            synced "$dir" "$n" && break
            halt_node "$dir" "$n"
            if [ "$i" -ge 10 ] || ! grep -q "Address already in use" "$dir/node$n/error.log"; then
                give_up "$dir" "$n" "node $n (port $(cat "$dir/node$n/port")) did not reach Synced"
            fi
            # A joiner that failed starts again from nothing.
            [ "$n" -eq 1 ] || rm -rf "$dir/node$n/data"
            : >"$dir/node$n/error.log"
        done
    done
    for ((n = 1; n <= NODES; n++)); do
        size=$(status_of "$dir" "$n" wsrep_cluster_size || true)
        [ "$size" = "$NODES" ] || give_up "$dir" "$n" "node $n sees a cluster of ${size:-?} nodes, not $NODES"
    done

    port=$(cat "$dir/node1/port")
    if ! "$setup" --mariadb --host 127.0.0.1 --port "$port" --user root --password '' --database Inventario \
            >"$dir/setup.log" 2>&1; then
        cat "$dir/setup.log" >&2
        give_up "$dir" 1 "tarvik-setup failed on node 1"
    fi
    # Every node holds the same tables, columns, keys and rows (the first
    # read waits for what the cluster has committed).
    local list first
    list=$(sql "$dir" 1 "SELECT GROUP_CONCAT(CONCAT('Inventario.', TABLE_NAME) ORDER BY TABLE_NAME) FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'Inventario'")
    [ -n "$list" ] && [ "$list" != NULL ] || give_up "$dir" 1 "the store Inventario is missing on node 1"
    tables="SET SESSION wsrep_sync_wait = 1; SELECT MD5(GROUP_CONCAT(CONCAT_WS(':', TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, COLUMN_KEY, EXTRA) ORDER BY TABLE_NAME, ORDINAL_POSITION)) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = 'Inventario'; CHECKSUM TABLE $list"
    first=$(sql "$dir" 1 "$tables")
    for ((n = 2; n <= NODES; n++)); do
        [ "$(sql "$dir" "$n" "$tables")" = "$first" ] || give_up "$dir" "$n" "node $n does not hold the store as node 1 does"
    done

    echo "export TARVIK_GALERA_DIR='$dir'"
    for ((n = 1; n <= NODES; n++)); do
        echo "export TARVIK_GALERA_HOST$n=127.0.0.1"
        echo "export TARVIK_GALERA_PORT$n=$(cat "$dir/node$n/port")"
    done
}

status() {
    local dir=${1:-${TARVIK_GALERA_DIR:-}} n
    cluster_folder "$dir"
    for ((n = 1; n <= NODES; n++)); do
        echo "node$n port $(cat "$dir/node$n/port"): $(status_of "$dir" "$n" wsrep_local_state_comment || echo down)," \
            "cluster size $(status_of "$dir" "$n" wsrep_cluster_size || echo -)"
    done
}

stop() {
    local dir=${1:-${TARVIK_GALERA_DIR:-}}
    cluster_folder "$dir"
    halt_all "$dir"
    rm -rf "$dir"
}

case "${1:-}" in
    start) start ;;
    status) shift; status "$@" ;;
    stop) shift; stop "$@" ;;
    *) echo "usage: $0 start | status [DIR] | stop [DIR]" >&2; exit 2 ;;
esac
