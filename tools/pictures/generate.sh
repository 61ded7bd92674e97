#!/usr/bin/env bash
# Draws the application's pictures again and writes them into the source tree:
# src/app/icons/rq508.ico, src/app/icons/hicolor/*/apps/rq508.png and src/ui/pictures/logo.bmp.
# The output is committed; run this only after changing the drawing.
# Usage: tools/pictures/generate.sh [build-folder]   (default: build-pictures-tool)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-pictures-tool}
cmake -S tools/pictures -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
"$build/rq508-pictures" .
