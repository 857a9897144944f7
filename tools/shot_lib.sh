# Sourced by tools/shot_*.sh: the repository as working folder, the output
# folder in $out (the script's first argument, by default build/shots), and
# two helpers. The screenshot programs are built only with KOVA_TOOLS, into
# build/tools/bin.
cd "$(dirname "$0")/.."
out=${1:-build/shots}

# shot_build TARGET...: configures build/ with the tools and builds TARGETs.
shot_build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
    cmake --build build -j3 --target "$@"
}

# shot_run PROGRAM ARGS...: runs a screenshot program offscreen.
shot_run() {
    local program=$1
    shift
    QT_QPA_PLATFORM=offscreen "build/tools/bin/$program" "$@"
}
