#!/usr/bin/env bash
# Installs the Debian packages that the build, the program and the tests need,
# only those that are missing. Sourced by run.sh and test.sh; also runs alone.
set -euo pipefail

TAVELIN_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libdxflib-dev libgtest-dev
                  libgmock-dev libbenchmark-dev fonts-noto-cjk python3 python3-ezdxf locales-all
                  desktop-file-utils)
# Only the tests need these (test.sh): GDAL's ogrinfo, an independent DXF
# reader for the blocks' interop test.
TAVELIN_TEST_PACKAGES=(gdal-bin)
# The hardening stages of test.sh: clang with its sanitizer and libFuzzer
# run-times (libclang-rt-14-dev holds libclang_rt.fuzzer).
TAVELIN_HARDENING_PACKAGES=(clang libclang-rt-14-dev)

# install_missing_packages [WHO [PACKAGE ...]]   (the usual list unless told)
install_missing_packages() {
  local who="${1:-install-packages.sh}"
  local wanted=("${TAVELIN_PACKAGES[@]}")
  [ $# -gt 1 ] && wanted=("${@:2}")
  local missing=()
  for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "$who: missing packages ${missing[*]}, and there is no apt-get to install them" >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "$who: installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  install_missing_packages
fi
