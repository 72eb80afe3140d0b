#!/usr/bin/env bash
# A longer mutation run of the SMBIOS table parser and the classes built from it, under ASan and
# UBSan: the suite's fuzz test with more mutations and chosen seeds. Any crash, sanitizer report
# or published value that does not fit its class fails the run.
#   scripts/fuzz-smbios.sh [MUTATIONS [SEED...]]     (default: 100000 mutations, 3 seeds)
set -euo pipefail
cd "$(dirname "$0")/.."
mutations=${1:-100000}
shift || true
seeds=("$@")
[ ${#seeds[@]} -eq 0 ] && seeds=(1 2 "$(date +%s)")

build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DNVX4_SANITIZE=ON >/dev/null
cmake --build "$build" --target smbios_publisher_tests -j2 >/dev/null
for seed in "${seeds[@]}"; do
    echo "seed $seed: $mutations mutations"
    NVX4_SMBIOS_FUZZ_MUTATIONS=$mutations NVX4_SMBIOS_FUZZ_SEED=$seed \
        "$build/tests/repository/publishers/smbios/smbios_publisher_tests" \
        --gtest_filter='*FuzzedTables*' --gtest_brief=1
done
