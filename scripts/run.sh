#!/usr/bin/env bash
# Sets up, builds and starts the section editor KOVACALC.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [ -x build/bin/KOVACALC ]; then
  exec build/bin/KOVACALC "$@"
fi
echo "built; KOVACALC is not part of this build yet"
