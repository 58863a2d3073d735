# What the private servers' scripts share; sourced, never run.

find_bin() {
    local b
    for b in "$@"; do
        if command -v "$b" >/dev/null 2>&1; then command -v "$b"; return 0; fi
        if [ -x "/usr/sbin/$b" ]; then echo "/usr/sbin/$b"; return 0; fi
    done
    echo "$(basename "$0"): none of $* found (run scripts/deps.sh)" >&2
    return 1
}

port_busy() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Shuts down the server of pid through its own socket, never a port that
# may belong to another run's server, and waits for it to end (60 s, then
# it is killed).
shutdown_server() {
    local socket=$1 pid=$2 i
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
    "$(find_bin mariadb-admin mysqladmin)" --no-defaults --socket="$socket" -uroot \
        shutdown >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 600; i++)); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

# Fails unless dir is a folder that a start made: named <prefix>.XXXXXX
# and, when mark is given, holding that file.
made_folder() {
    local dir=$1 prefix=$2 what=$3 mark=${4:-}
    if [ -z "$dir" ] || [ ! -d "$dir" ]; then
        echo "$(basename "$0"): no $what folder given" >&2
        return 1
    fi
    case "$dir" in
        */"$prefix".*) ;;
        *) echo "$(basename "$0"): $dir is not a test $what folder" >&2; return 1 ;;
    esac
    if [ -n "$mark" ] && [ ! -f "$dir/$mark" ]; then
        echo "$(basename "$0"): $dir is not a test $what folder" >&2
        return 1
    fi
}
