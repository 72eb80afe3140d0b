#!/usr/bin/env bash
# Installs the Debian packages one command needs:
#   run    the Linux build of the library and its command-line tool (scripts/run.sh)
#   bench  that, plus the benchmark library and the data sources the benchmarks read
#   fuzz   that of run, plus clang with its sanitizer and fuzzer runtimes (scripts/fuzz.sh)
#   test   everything the test suite uses: all of the above, GoogleTest, the format checker, the
#          Windows cross-compilers, Wine and the database servers (scripts/test.sh); the default
# Idempotent: when all packages are present it changes nothing and asks no package server.
set -euo pipefail

group=${1:-test}

# The publishers link libsystemd, OpenIPMI and OpenSSL; the subagent net-snmp's agent library; the
# smart publisher runs smartctl.
run_packages=(cmake make g++ pkg-config unixodbc-dev nlohmann-json3-dev
    libsystemd-dev libopenipmi-dev libssl-dev libsnmp-dev smartmontools)
bench_packages=(libbenchmark-dev libsqliteodbc)
fuzz_packages=(clang libclang-rt-14-dev llvm)
test_packages=(
    googletest libgtest-dev libgmock-dev
    clang-format
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine64
    odbc-postgresql postgresql
    procps iproute2 hostname dmidecode systemd systemd-journal-remote
    snmpd snmp smitools dpkg-dev
    openipmi ipmitool freeipmi-tools
)

case $group in
    run) packages=("${run_packages[@]}") ;;
    bench) packages=("${run_packages[@]}" "${bench_packages[@]}") ;;
    fuzz) packages=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
    test)
        packages=("${run_packages[@]}" "${bench_packages[@]}" "${fuzz_packages[@]}"
            "${test_packages[@]}")
        ;;
    *)
        echo "usage: $0 [run|bench|fuzz|test]" >&2
        exit 2
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$package")
    fi
done
# The MIB checks fetch the IETF base modules with npm. Machines that carry Node.js from outside
# Debian have npm already, and Debian's npm package would conflict with it.
if [ "$group" = test ] && ! command -v npm >/dev/null; then
    missing+=(npm)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
