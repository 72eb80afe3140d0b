#!/usr/bin/env bash
# Builds the system for 32-bit and 64-bit Windows against the real SDK headers and import
# libraries (build/i686, build/x86_64; the 64-bit build includes the test programs that
# scripts/wine-tests.sh runs), then checks the provider DLL of each with objdump.
set -euo pipefail
cd "$(dirname "$0")/.."
for target in i686 x86_64; do
    tests=OFF
    [ $target = x86_64 ] && tests=ON
    cmake --no-warn-unused-cli -S . -B build/$target -DCMAKE_TOOLCHAIN_FILE=cmake/$target-w64-mingw32.cmake \
        -DCMAKE_BUILD_TYPE=Release -DNVX4_BUILD_TESTS=$tests -DNVX4_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build build/$target -j"$(nproc)"
    scripts/check-dll.sh $target-w64-mingw32-objdump build/$target/provider/nvx4provider.dll
    echo "$target-w64-mingw32 build: ok"
done
