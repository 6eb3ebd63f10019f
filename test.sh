#!/usr/bin/env bash
# Installs what the build and the tests need (only what is missing), builds
# everything and runs every test through ctest. No display is needed: the
# window tests use Qt's offscreen platform.
#
#   ./test.sh [CTEST-ARGUMENTS ...]      build folder: $BUILD_DIR, else build/
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh
install_missing_packages test.sh

BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVELIN_BUILD_GUI=ON -DTAVELIN_BUILD_TESTS=ON -DTAVELIN_BUILD_BENCH=ON
cmake --build "$BUILD_DIR"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
