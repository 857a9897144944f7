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
# The Debian package of the plain build, and what it holds.
rm -f build/kovadex_*.deb
if (cd build && cpack -G DEB >/dev/null); then
  for deb in build/kovadex_*.deb; do
    dpkg-deb -f "$deb" Package Version Depends Recommends
    dpkg-deb -c "$deb"
    # What Debian would refuse: every error and warning fails the check.
    if command -v lintian >/dev/null; then
      lintian --fail-on error,warning "$deb" || { echo "lintian: $deb has errors or warnings" >&2; status=1; }
    fi
  done
else
  echo "cpack -G DEB failed" >&2
  status=1
fi
exit $status
