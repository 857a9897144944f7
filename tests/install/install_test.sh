#!/usr/bin/env bash
# install_test.sh CMAKE BUILD_DIR INSTALLED_RUN SOURCE_DIR
# Installs the build into a scratch prefix, makes it read-only and runs the
# installed programs as a user whose home is scratch. As root (CI) the
# programs run as the unprivileged user nobody, for whom the read-only prefix
# really cannot be written; where that user cannot be had, they run as root
# and the test checks afterwards that nothing under the prefix changed.
#
# The scratch folder is a fresh one under /tmp (or $TMPDIR), not in the build
# tree: the build tree may lie in a folder other users cannot enter (root's
# home, a mktemp -d folder), and nobody must reach the installation.
set -euo pipefail
cmake=$1 build=$2 run=$3 src=$4

fail() { echo "install test: $*" >&2; exit 1; }

nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
as=() who=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null && "${nobody[@]}" true 2>/dev/null; then
    as=("${nobody[@]}") who="nobody (uid 65534)"
  else
    echo "install test: setpriv cannot become uid 65534; running as root, the read-only prefix is checked afterwards"
  fi
fi

# The first folder on the way to $1 that the programs' user cannot enter.
closed_on_the_way() {
  local d=/ part
  local IFS=/
  for part in $1; do
    [ -n "$part" ] || continue
    d=${d%/}/$part
    "${as[@]}" test -x "$d" || { echo "$d"; return; }
  done
}

scratch=
cleanup() { [ -n "$scratch" ] && [ -d "$scratch" ] && chmod -R u+w "$scratch" && rm -rf "$scratch"; }
trap cleanup EXIT
for base in "${TMPDIR:-/tmp}" /tmp; do
  scratch=$(mktemp -d "$base/kova-install.XXXXXX") || fail "cannot make a scratch folder in $base"
  chmod 755 "$scratch"
  closed=$(closed_on_the_way "$scratch")
  [ -z "$closed" ] && break
  rm -rf "$scratch"
  scratch=
done
[ -n "$scratch" ] || fail "user $who cannot enter $closed, on the way to the scratch folder"
prefix=$scratch/prefix
home=$scratch/home

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install $build failed"

# Where each file goes: the front ends on the PATH, the programs they start
# in the helper folder, with the data, documents and menu entries.
helpers=lib/kovadex
expected=(bin/KOVACALC bin/TOLMPRED "$helpers/SETLCORE" share/kovadex/BKHough1.CSV share/kovadex/SYSVER.DAT
          share/doc/kovadex/examples/road_embankment.kov share/doc/kovadex/examples/observation.tlm
          share/doc/kovadex/copyright share/doc/kovadex/changelog.gz share/lintian/overrides/kovadex
          share/man/man1/KOVACALC.1.gz share/man/man1/TOLMPRED.1.gz
          share/applications/kovacalc.desktop share/applications/tolmpred.desktop
          share/icons/hicolor/48x48/apps/kovacalc.png share/icons/hicolor/256x256/apps/tolmpred.png)
[ -x "$build/bin/VIEWQEX2" ] && expected+=("$helpers/VIEWQEX2")
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
on_path=$(cd "$prefix/bin" && ls | tr '\n' ' ')
[ "$on_path" = "KOVACALC TOLMPRED " ] || fail "bin/ holds $on_path; only KOVACALC and TOLMPRED belong on the PATH"
cmp -s "$src/data/BKHough1.CSV" "$prefix/share/kovadex/BKHough1.CSV" || fail "BKHough1.CSV differs"
for page in "$prefix"/share/man/man1/*.gz; do
  gzip -t "$page" || fail "$page is no gzip file"
done
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate missing (desktop-file-utils)"
desktop-file-validate "$prefix"/share/applications/*.desktop

# The test program runs as the same user, from where that user can reach it.
cp "$run" "$scratch/installed_run"
run=$scratch/installed_run

chmod -R a-w "$prefix"
before=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)

mkdir -p "$home/.local/share" "$home/.config" "$home/run"
if ((${#as[@]})); then
  chown -R 65534:65534 "$home"
  echo "install test: programs run as uid 65534 in $scratch"
fi
chmod 700 "$home/run"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/.local/share"
          XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen
          ASAN_OPTIONS=detect_leaks=0 KOVA_PREFIX="$prefix")
folder=$home/.local/share/kovadex
for p in "$prefix/bin/KOVACALC" "$prefix/bin/TOLMPRED" "$run"; do
  closed=$(closed_on_the_way "$(dirname "$p")")
  "${as[@]}" test -x "$p" || fail "user $who cannot run $p${closed:+: it cannot enter $closed}"
done
"${as[@]}" test -w "$home" || fail "user $who cannot write its home $home"

# The installed programs start and keep their program folder per user: the
# "ORG" snapshot is written at start-up. They wait for a user; ended here.
start() {  # start PROGRAM SNAPSHOT
  local log=$scratch/$1.log
  "${user_env[@]}" "${as[@]}" "$prefix/bin/$1" 2>"$log" &
  local pid=$! waited=0
  until [ -f "$folder/$2" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && code=0 || code=$?
      fail "$1 ended at start-up with exit code $code before writing $folder/$2; it said: $(head -c 2000 "$log")"
    fi
    if ((waited++ >= 600)); then
      kill "$pid"
      fail "$1 wrote no $2 into $folder within 60 s; folder holds: $(ls -A "$folder" 2>&1 | tr '\n' ' '); it said: $(head -c 2000 "$log")"
    fi
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
"${user_env[@]}" "${as[@]}" "$run" || fail "the installed programs' run failed (above)"

after=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the programs wrote under the prefix: $(diff <(echo "$before") <(echo "$after") | head)"
echo "install test: passed"
