#!/usr/bin/env bash
# Builds Velloquin and starts it under Wine on the demo network (simnet/demo/network.ini).
#
# With a display (DISPLAY set) the program runs until its window is closed. Without one it runs
# in Wine's virtual desktop on an Xvfb display, waits for the network tree's first listing,
# saves a screenshot to $BUILD_DIR/screenshots/main.png, prints that path last and exits.
#
# Screenshot options: the picture shows a folder of the demo network opened from its workgroup
# down; --about shows the about box instead; --out FILE saves the picture there.
# LC_ALL=fr_FR.UTF-8 scripts/demo.sh starts the program in French.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}

about=0
out=""
while [ $# -gt 0 ]; do
    case $1 in
        --about) about=1 ;;
        --out)
            out=$2
            shift
            ;;
        *)
            echo "usage: $0 [--about] [--out FILE]" >&2
            exit 2
            ;;
    esac
    shift
done

"$root/scripts/deps.sh"
"$root/scripts/build.sh"

had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start

network="$root/simnet/demo/network.ini"
"$root/simnet/prepare-unc.sh" "$network" "$BUILD_DIR/unc"
export VELLOQUIN_SIMNET="$network"

# Wine loads the simulated netapi32.dll that lies beside the exe (WINEDLLOVERRIDES=netapi32=n).
bin="$BUILD_DIR/bin"
cd "$bin"

if [ -n "$had_display" ]; then
    "$WINE" velloquin.exe || true
    exit 0
fi

out=${out:-$BUILD_DIR/screenshots/main.png}
mkdir -p "$(dirname "$out")"
# Wine's virtual desktop draws the title bar that a window manager would.
"$WINE" explorer /desktop=velloquin,1280x800 velloquin.exe </dev/null >/dev/null 2>&1 &

# The window is up once the desktop holds a window titled Velloquin (at most 60 seconds).
up=0
for _ in $(seq 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Velloquin'; then
        up=1
        break
    fi
    sleep 0.1
done
if [ "$up" != 1 ]; then
    echo "demo: the Velloquin window did not appear" >&2
    exit 1
fi
# Only a program on the same desktop sees the window.
probe() { "$WINE" explorer /desktop=velloquin,1280x800 vq_app_probe.exe "$@" </dev/null >/dev/null 2>&1 || true; }
if [ "$about" = 1 ]; then
    probe command 57664
else
    probe select Workgroup Alpha Photos "2024 Noel chez Mamie"
fi

# The first listing has arrived when the picture stops changing: two equal captures one second
# apart (at most 30 seconds).
prev=""
for _ in $(seq 30); do
    sleep 1
    cur=$(import -window root rgb:- 2>/dev/null | md5sum)
    [ "$cur" = "$prev" ] && break
    prev=$cur
done
# The main window's frame, title bar included, as the virtual desktop placed it.
geometry=$(xwininfo -root -tree | grep -m1 '"Velloquin' | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' |
    head -1)
import -window root ${geometry:+-crop "$geometry"} +repage "$out"
echo "$out"
