#!/usr/bin/env bash
# Builds the provider library and its agent-style command-line tool, then prints the records of
# the classes named (default: every class) as this machine's live publishers fill them. Any
# nvx4-enum arguments may be given, e.g. scripts/run.sh 1039 --format json, scripts/run.sh
# --repository sample all (the bundled sample server), or scripts/run.sh --help.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNVX4_BUILD_TESTS=OFF \
    -DNVX4_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target nvx4-enum >/dev/null
[ $# -eq 0 ] && set -- all
exec build/release/tools/nvx4-enum "$@"
