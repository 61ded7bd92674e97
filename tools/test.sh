#!/usr/bin/env bash
# Builds everything and runs every test. Usage: tools/test.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRQ508_WERROR=ON
cmake --build "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --timeout 300
