# Sourced by the test and demo scripts: a Wine prefix of our own under the build tree, one
# persistent wineserver for the whole run, and an Xvfb display when there is none. Everything
# started here is stopped by wine_env_stop, by process id.
: "${BUILD_DIR:?}"
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINE=/usr/lib/wine/wine64
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="netapi32=n;mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
_wine_env_pids=()

wine_env_stop() {
    local pid
    # Ends every process of our own prefix (services included), then what we started.
    "$(dirname "$WINE")/wineserver" -k 2>/dev/null || true
    for pid in "${_wine_env_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${_wine_env_pids[@]}"; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    _wine_env_pids=()
}

wine_env_start() {
    if [ -z "${DISPLAY:-}" ]; then
        local fifo="$BUILD_DIR/.xvfb-display"
        rm -f "$fifo"
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
        _wine_env_pids+=($!)
        for _ in $(seq 100); do [ -s "$fifo" ] && break; sleep 0.1; done
        export DISPLAY=":$(tr -d '[:space:]' <"$fifo")"
    fi
    mkdir -p "$WINEPREFIX"
    "$(dirname "$WINE")/wineserver" -f -p </dev/null >/dev/null 2>&1 &
    _wine_env_pids+=($!)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 || true
    fi
    # Without a window manager, Wine waits about 2 s for every framed window it destroys unless
    # its windows are unmanaged; the virtual desktop of the demo draws its own frames anyway.
    if [ ! -f "$WINEPREFIX/.velloquin-unmanaged" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 &&
            touch "$WINEPREFIX/.velloquin-unmanaged"
    fi
    # Start the prefix's background services now, detached from our output: started later by a
    # test, they would inherit its output pipe and hold it open.
    "$WINE" wineboot -u </dev/null >/dev/null 2>&1 || true
    # UNC paths \\COMPUTER\SHARE\... resolve below this folder; see simnet/prepare-unc.sh.
    mkdir -p "$BUILD_DIR/unc"
    rm -rf "$WINEPREFIX/dosdevices/unc"
    ln -s "$BUILD_DIR/unc" "$WINEPREFIX/dosdevices/unc"
    export VELLOQUIN_UNC_ROOT="$BUILD_DIR/unc"
}
