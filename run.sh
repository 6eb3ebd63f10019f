#!/usr/bin/env bash
# Installs what the program needs (only what is missing), builds it, installs
# the default data into the installation root ($TAVELIN_ROOT, else ~/Tavelin;
# files already there are never overwritten) and starts the program.
#
#   ./run.sh                             build folder: $BUILD_DIR, else build/
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh
install_missing_packages run.sh

BUILD_DIR="${BUILD_DIR:-build}"
ROOT="${TAVELIN_ROOT:-$HOME/Tavelin}"

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVELIN_BUILD_GUI=ON
cmake --build "$BUILD_DIR" --target tavelin tavelin-cli tavelin-blockbuilder catalogue

# Copies only what the root lacks (a first run fills the info folder) and puts
# the freshly built block builder in place.
"$BUILD_DIR/bin/tavelin-cli" --root "$ROOT" init

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display to show the program on (DISPLAY is not set)" >&2
  exit 1
fi
TAVELIN_ROOT="$ROOT" exec "$BUILD_DIR/bin/tavelin"
