#!/usr/bin/env bash
# Installs what the build and the tests need (only what is missing), builds
# everything and runs every test through ctest. No display is needed: the
# window tests use Qt's offscreen platform.
#
#   ./test.sh [CTEST-ARGUMENTS ...]      build folder: $BUILD_DIR, else build/
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libdxflib-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-noto-cjk python3 python3-ezdxf)

install_missing_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "test.sh: missing packages ${missing[*]}, and there is no apt-get to install them" >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "test.sh: installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
}

install_missing_packages

BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVELIN_BUILD_GUI=ON -DTAVELIN_BUILD_TESTS=ON -DTAVELIN_BUILD_BENCH=ON
cmake --build "$BUILD_DIR"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
