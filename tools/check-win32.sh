#!/usr/bin/env bash
# Compiles (does not run) the portable layers and the Win32 platform code with MinGW-w64, so
# the Windows side keeps building. Usage: tools/check-win32.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win32}
if ! command -v x86_64-w64-mingw32-g++ >/dev/null; then
    echo "x86_64-w64-mingw32-g++ is missing: apt-get install g++-mingw-w64-x86-64" >&2
    exit 1
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64.cmake \
    -DRQ508_BUILD_GUI=OFF -DRQ508_BUILD_TESTS=OFF -DRQ508_WERROR=ON
cmake --build "$build" --target rq508_platform
echo "Windows compile check passed: rq508_settings, rq508_link, rq508_platform"
