#!/usr/bin/env bash
# Installs what the build and the tests need (only what is missing), builds
# everything and runs every test through ctest. No display is needed: the
# window tests use Qt's offscreen platform.
#
#   ./test.sh [CTEST-ARGUMENTS ...]      build folder: $BUILD_DIR, else build/
#
# With TAVELIN_HARDENING=1 (the default when CI=true) three stages follow:
#   - the whole suite again, built by clang with AddressSanitizer and
#     UndefinedBehaviorSanitizer in $ASAN_BUILD_DIR (else build-asan/);
#   - every fuzz harness of fuzz/ for $FUZZ_SECONDS seconds (20 unless told);
#   - the killed-writer test with $TAVELIN_CRASH_KILLS kills (1000 unless told)
#     in both builds (it is part of the suite).
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh
install_missing_packages test.sh
install_missing_packages test.sh "${TAVELIN_TEST_PACKAGES[@]}"

hardening="${TAVELIN_HARDENING:-}"
[ -z "$hardening" ] && [ "${CI:-}" = "true" ] && hardening=1
[ "$hardening" = "1" ] && install_missing_packages test.sh "${TAVELIN_HARDENING_PACKAGES[@]}"
export TAVELIN_CRASH_KILLS="${TAVELIN_CRASH_KILLS:-1000}"

stage() { printf '\n=== %s (%s s so far)\n' "$1" "$SECONDS"; }

BUILD_DIR="${BUILD_DIR:-build}"
stage "build ($BUILD_DIR)"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVELIN_BUILD_GUI=ON -DTAVELIN_BUILD_TESTS=ON -DTAVELIN_BUILD_BENCH=ON
cmake --build "$BUILD_DIR"

export QT_QPA_PLATFORM=offscreen
stage "tests ($BUILD_DIR)"
# Two at a time: the tests hold on a busy machine, and this halves the wait.
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel 2 "$@"
[ "$hardening" = "1" ] || exit 0

ASAN_BUILD_DIR="${ASAN_BUILD_DIR:-build-asan}"
stage "sanitizer and fuzzer build ($ASAN_BUILD_DIR)"
# -O1 with line tables: quicker to build, and the reports still name lines.
cmake -S . -B "$ASAN_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DCMAKE_CXX_COMPILER=clang++ -DTAVELIN_SANITIZE=ON -DTAVELIN_BUILD_FUZZ=ON \
  -DTAVELIN_BUILD_GUI=ON -DTAVELIN_BUILD_TESTS=ON -DTAVELIN_BUILD_BENCH=OFF
cmake --build "$ASAN_BUILD_DIR"

stage "tests under the sanitizers ($ASAN_BUILD_DIR)"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
# Two at a time: the sanitized programs wait on the disk and on processes
# they start as much as they compute.
ctest --test-dir "$ASAN_BUILD_DIR" --output-on-failure --parallel 2 "$@"

stage "fuzzing"
fuzz/run.sh "$ASAN_BUILD_DIR" "${FUZZ_SECONDS:-20}"
stage "done"
