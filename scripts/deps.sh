#!/bin/bash
# Installs the Debian packages that building, running and testing need, and
# only those that are missing.
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev qt6-serialport-dev
    libqt6sql6-sqlite libqt6sql6-mysql
    qt6-translations-l10n
    libsqlite3-dev
    mariadb-server mariadb-client
    locales
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "deps.sh: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "deps.sh: run as root to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y "${missing[@]}"
