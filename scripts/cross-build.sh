#!/usr/bin/env bash
# Builds the libraries for 32-bit Windows against the real SDK headers and import libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/i686 -j"$(nproc)"
echo "i686-w64-mingw32 build: ok"
