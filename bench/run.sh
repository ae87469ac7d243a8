#!/usr/bin/env bash
# Benchmark of the file list and the network tree under Wine. Builds velloquin_bench.exe, makes
# its folders under $BUILD_DIR/bench-data (100,000 files, 10,000 subdirectories; once), describes
# the simulated network that serves them and runs it. Prints the measured figures, then one
# "BENCH <name> ratio=<r> target=<t>" line per figure and "MEASURE peak_memory_mb=<n>".
# Arguments (optional) pick parts: files, tree, expand.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" --target velloquin_bench netapi32 -- --no-print-directory >/dev/null

data="$BUILD_DIR/bench-data"
mkdir -p "$data"
if [ ! -f "$data/files.done" ]; then
    echo "Making $data/files (100,000 files)"
    rm -rf "$data/files" && mkdir -p "$data/files"
    # Twelve kinds of name, one in a thousand with a per-file icon (.exe), in no sorted order.
    (cd "$data/files" && awk 'BEGIN {
        n = split(".txt,.doc,.pdf,.jpg,.c,.h,.zip,.TXT,,.log,.xml,.png", ext, ",")
        for (i = 0; i < 100000; i++) {
            x = (i % 1000 == 999) ? ".exe" : ext[i % n + 1]
            printf "file%06d%s\n", (i * 7919) % 100000, x
        }
    }' | xargs touch)
    touch "$data/files.done"
fi
if [ ! -f "$data/dirs.done" ]; then
    echo "Making $data/dirs (10,000 subdirectories)"
    rm -rf "$data/dirs" && mkdir -p "$data/dirs"
    (cd "$data/dirs" && awk 'BEGIN { for (i = 0; i < 10000; i++) printf "dir%05d\n", (i * 7919) % 10000 }' | xargs mkdir)
    touch "$data/dirs.done"
fi

# Three shares over each folder, so that every measure opens an item never listed before; and a
# workgroup of 60 computers that answer after 500 ms with 5 shares each.
ini="$data/network.ini"
{
    echo "[network]"
    echo "[domain BENCHWG]"
    echo "[computer BENCHWG/BENCH]"
    for i in 1 2 3; do
        printf '[share BENCH/files%d]\ndir = %s\n' "$i" "$data/files"
        printf '[share BENCH/dirs%d]\ndir = %s\n' "$i" "$data/dirs"
    done
    echo "[domain WIDE]"
    for c in $(seq -w 1 60); do
        printf '[computer WIDE/PC%s]\nlatency = 500\n' "$c"
        for s in 1 2 3 4 5; do printf '[share PC%s/S%d]\n' "$c" "$s"; done
    done
} >"$ini"

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start
# The prefix's own start-up work (wineboot, rundll32) would take the CPU from the measures.
for _ in $(seq 300); do pgrep -f 'wineboot.exe|rundll32.exe' >/dev/null || break; sleep 0.1; done
"$root/simnet/prepare-unc.sh" "$ini" "$BUILD_DIR/unc"
export VELLOQUIN_SIMNET="$ini"
# Wine loads the simulated netapi32.dll that lies beside the exe.
cd "$BUILD_DIR/bin"
"$WINE" velloquin_bench.exe "$@"
