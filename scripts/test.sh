#!/usr/bin/env bash
# Sets up, builds and runs every test: a plain build and a build under
# AddressSanitizer + UndefinedBehaviorSanitizer, both with warnings as errors;
# the plain build also builds the screenshot and benchmark programs so that
# they keep compiling.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
scripts/build.sh build -DKOVA_WERROR=ON -DKOVA_TOOLS=ON
scripts/build.sh build-asan -DKOVA_SANITIZE=ON -DKOVA_WERROR=ON
status=0
ctest --test-dir build -j"$(nproc)" --output-on-failure || status=1
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j"$(nproc)" --output-on-failure || status=1
exit $status
