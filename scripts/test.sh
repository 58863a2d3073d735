#!/bin/bash
# Builds, starts a private MariaDB server (stopped again on any exit),
# creates "Inventario" on it, and runs every test; store tests run on SQLite
# and on MariaDB. The suite runs twice: as the environment sets the locale,
# then under es_ES.UTF-8, whose decimal comma must not reach any number the
# program writes or reads. Exits non-zero when either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
CTEST_JOBS=${CTEST_JOBS:-8}

bash scripts/build.sh

comma_locale=es_ES.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'es_ES\.utf-\?8'; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "test.sh: the locale $comma_locale is missing; run as root to generate it" >&2
        exit 1
    fi
    echo "test.sh: generating the locale $comma_locale"
    grep -q "^$comma_locale UTF-8" /etc/locale.gen 2>/dev/null || echo "$comma_locale UTF-8" >>/etc/locale.gen
    locale-gen >/dev/null
fi

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
echo "test.sh: the suite again under LC_ALL=$comma_locale"
LC_ALL=$comma_locale ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$CTEST_JOBS"
rc_comma=$?
set -e
exit $((rc != 0 ? rc : rc_comma))
