#!/usr/bin/env bash
# The whole test suite: dependencies, format check, the 32-bit and 64-bit Windows builds, the
# Windows test programs under Wine, then three Linux builds, each with every test:
#   build/test          GCC, Debug, AddressSanitizer and UndefinedBehaviorSanitizer
#   build/release-test  GCC, Release, no sanitizers (the configuration a packager builds)
#   build/clang         clang, Debug, both sanitizers, plus the fuzz targets, each run over its
#                       seed corpus and a fixed number of generated inputs
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/check-format.sh
scripts/cross-build.sh
scripts/wine-tests.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# build_and_test FOLDER [cmake options...]: configures, builds, runs every test; no test is an error.
build_and_test() {
    local build=$1
    shift
    local start=$SECONDS
    cmake -S . -B "$build" "$@" >/dev/null
    cmake --build "$build" -j"$(nproc)"
    # The SNMP end-to-end tests run once, against an installation (below).
    ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$(nproc)" -LE snmp-e2e
    echo "$build: built and tested in $((SECONDS - start)) s"
}

build_and_test build/test -DCMAKE_BUILD_TYPE=Debug -DNVX4_SANITIZE=ON
# The SNMP end-to-end tests run against an installation in a temporary prefix.
scripts/test-installed.sh build/test
build_and_test build/release-test -DCMAKE_BUILD_TYPE=Release
CC=clang CXX=clang++ build_and_test build/clang -DCMAKE_BUILD_TYPE=Debug -DNVX4_SANITIZE=ON \
    -DNVX4_FUZZ=ON
