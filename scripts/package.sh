#!/usr/bin/env bash
# Builds the Debian package nvx4-provider (Release, installed under /usr) into build/package
# and prints its control data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DNVX4_BUILD_TESTS=OFF -DNVX4_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/package -j2 --target nvx4provider nvx4-enum nvx4-mibgen nvx4-subagent
(cd build/package && cpack -G DEB >/dev/null)
package=$(ls build/package/nvx4-provider_*.deb)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
