#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Idempotent: when all
# packages are present it changes nothing and asks no package server.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang-format
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine64
    unixodbc-dev libsqliteodbc odbc-postgresql postgresql
    nlohmann-json3-dev
    procps iproute2 hostname
    dmidecode
    libsystemd-dev systemd systemd-journal-remote
    smartmontools
    libsnmp-dev snmpd snmp smitools npm dpkg-dev
    libopenipmi-dev libssl-dev openipmi ipmitool freeipmi-tools
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
