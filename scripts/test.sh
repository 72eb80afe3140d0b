#!/usr/bin/env bash
# The whole test suite: dependencies, format check, the 32-bit and 64-bit Windows builds, the
# Windows test programs under Wine, then every test under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/cross-build.sh
scripts/wine-tests.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DNVX4_SANITIZE=ON >/dev/null
cmake --build build/test -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j"$(nproc)" -LE snmp-e2e
# The SNMP end-to-end tests run against an installation in a temporary prefix.
scripts/test-installed.sh build/test
