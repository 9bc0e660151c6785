#!/usr/bin/env bash
# make dist: what a Windows user downloads, from the 32-bit build (the
# shipping target) in build/win32: the setup program, the zip of the same
# files, and their SHA-256 sums, in dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
source scripts/build-lib.sh
tarnwick_configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
cmake --build build/win32 --target tarnwick_dist

rm -rf dist
mkdir -p dist
cp build/win32/dist/Tarnwick-*-setup.exe build/win32/dist/Tarnwick-*-win32.zip build/win32/dist/SHA256SUMS dist/
(cd dist && sha256sum --quiet -c SHA256SUMS)
echo "dist: Gravelin.exe $(stat -c %s build/win32/bin/Gravelin.exe) bytes"
for file in dist/*; do echo "dist: $file $(stat -c %s "$file") bytes"; done
