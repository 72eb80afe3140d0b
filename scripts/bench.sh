#!/usr/bin/env bash
# Builds the benchmarks with optimisation and no sanitizers, then runs each of them.
# Extra arguments go to every benchmark (for example --benchmark_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DNVX4_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)"
find build/bench/benchmarks -type f -executable -name '*_bench' | sort | while read -r bench; do
    echo "== ${bench##*/}"
    "$bench" "$@"
done
