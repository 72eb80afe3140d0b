#!/usr/bin/env bash
# Runs one fuzz target for as long as asked, starting from its seed corpus.
# Usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   TARGET: mof_reader, db_url, host_name, variant or smbios_tables (the fuzz/*Fuzz.cpp programs)
# Builds it with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build/fuzz. Inputs that
# reach new code collect in build/fuzz/corpus/TARGET (kept between runs; the checked-in seeds in
# fuzz/corpus/TARGET are never written to); a crashing input is saved in build/fuzz/artifacts/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2
if [ ! -d "fuzz/corpus/$target" ]; then
    echo "$0: no fuzz target '$target' (have: $(ls fuzz/corpus | tr '\n' ' '))" >&2
    exit 2
fi

scripts/install-deps.sh fuzz
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNVX4_SANITIZE=ON \
    -DNVX4_FUZZ=ON -DNVX4_BUILD_TESTS=OFF -DNVX4_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build $build -j"$(nproc)" --target "fuzz_$target" >/dev/null

corpus=$build/corpus/$target
artifacts=$build/artifacts
mkdir -p "$corpus" "$artifacts"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec $build/fuzz/fuzz_"$target" -max_total_time="$seconds" -artifact_prefix="$artifacts/" \
    -print_final_stats=1 "$@" "$corpus" "fuzz/corpus/$target"
