#!/usr/bin/env bash
# Installs a build into a temporary prefix with cmake --install and runs the SNMP end-to-end
# tests against the installed programs, provider and MIB, so that a file the installation
# misses shows. Usage: scripts/test-installed.sh [build folder] [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
shift || true
prefix=$(mktemp -d /tmp/nvx4-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
for file in bin/nvx4-enum bin/nvx4-mibgen sbin/nvx4-subagent "$libdir/nvx4/libnvx4provider.so" \
    share/snmp/mibs/NVX4-MIB.txt lib/systemd/system/nvx4-subagent.service; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
NVX4_E2E_PREFIX=$prefix ctest --test-dir "$build" --output-on-failure -L snmp-e2e "$@"
