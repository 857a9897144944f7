#!/usr/bin/env bash
# Sets up, builds and runs every test: a plain build and a build under
# AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
scripts/build.sh build
scripts/build.sh build-asan -DKOVA_SANITIZE=ON
status=0
ctest --test-dir build -j"$(nproc)" --output-on-failure || status=1
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j"$(nproc)" --output-on-failure || status=1
exit $status
