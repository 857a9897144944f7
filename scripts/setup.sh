#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (skipped when all is present).
set -euo pipefail
PKGS=(g++ cmake ninja-build libgtest-dev libgmock-dev qt6-base-dev qt6-translations-l10n
      fonts-ipafont-gothic python3 poppler-utils desktop-file-utils dpkg-dev lintian)
missing=()
for p in "${PKGS[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
