#!/usr/bin/env bash
# install_test.sh CMAKE BUILD_DIR INSTALLED_RUN SOURCE_DIR
# Installs the build into a scratch prefix, makes it read-only and runs the
# installed programs as a user whose home is scratch. As root (CI) the
# programs run as the unprivileged user nobody, for whom the read-only prefix
# really cannot be written; where that user cannot be had, they run as root
# and the test checks afterwards that nothing under the prefix changed.
set -euo pipefail
cmake=$1 build=$2 run=$3 src=$4
scratch=$build/install-scratch
prefix=$scratch/prefix
home=$scratch/home

fail() { echo "install test: $*" >&2; exit 1; }

[ -d "$scratch" ] && chmod -R u+w "$scratch" && rm -rf "$scratch"
mkdir -p "$scratch"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

# Where each file goes.
for f in bin/SETLCORE bin/KOVACALC bin/TOLMPRED share/kovadex/BKHough1.CSV share/kovadex/SYSVER.DAT \
         share/doc/kovadex/examples/road_embankment.kov share/doc/kovadex/examples/observation.tlm \
         share/applications/kovacalc.desktop share/applications/tolmpred.desktop \
         share/icons/hicolor/48x48/apps/kovacalc.png share/icons/hicolor/256x256/apps/tolmpred.png; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
cmp -s "$src/data/BKHough1.CSV" "$prefix/share/kovadex/BKHough1.CSV" || fail "BKHough1.CSV differs"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate missing (desktop-file-utils)"
desktop-file-validate "$prefix"/share/applications/*.desktop

chmod -R a-w "$prefix"
before=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)

mkdir -p "$home/.local/share" "$home/.config" "$home/run"
as=()
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    chown -R 65534:65534 "$home"
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    echo "install test: programs run as uid 65534"
  else
    echo "install test: running as root; the read-only prefix is checked afterwards"
  fi
fi
chmod 700 "$home/run"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/.local/share"
          XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen
          ASAN_OPTIONS=detect_leaks=0 KOVA_PREFIX="$prefix")
folder=$home/.local/share/kovadex

# The installed programs start and keep their program folder per user: the
# "ORG" snapshot is written at start-up. They wait for a user; ended here.
start() {  # start PROGRAM SNAPSHOT
  "${user_env[@]}" "${as[@]}" "$prefix/bin/$1" &
  local pid=$! waited=0
  until [ -f "$folder/$2" ]; do
    kill -0 "$pid" 2>/dev/null || fail "$1 ended at start-up"
    ((waited++ < 600)) || { kill "$pid"; fail "$1 wrote no $2 into $folder"; }
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
start KOVACALC KOVA_JKN.ORG
start TOLMPRED KOVA_TLM.ORG
for f in BKHough1.CSV SYSVER.DAT; do
  cmp -s "$prefix/share/kovadex/$f" "$folder/$f" || fail "$f not seeded into $folder"
  [ "$(stat -c %A "$folder/$f" | cut -c3)" = w ] || fail "$f in $folder cannot be rewritten by its user"
done

# The editor's calculation and printing with the installed programs.
"${user_env[@]}" "${as[@]}" "$run"

after=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the programs wrote under the prefix: $(diff <(echo "$before") <(echo "$after") | head)"
chmod -R u+w "$scratch"
rm -rf "$scratch"
echo "install test: passed"
