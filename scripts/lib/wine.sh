# Sourced by the scripts that run Windows programs: a display, the build tree's Wine prefix and its server.
# Everything started here is stopped by wine_env_stop, which the caller runs from its exit trap.

qelvora_xvfb_pid=""
qelvora_wine_prefix=""

# Starts Xvfb on a free display unless QELVORA_DISPLAY names one to use (the demo's real display).
xvfb_start() {
    local screen=${1:-1280x800x24} n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
        qelvora_xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$qelvora_xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$qelvora_xvfb_pid" 2>/dev/null; wait "$qelvora_xvfb_pid" 2>/dev/null
        qelvora_xvfb_pid=""
    done
    echo "wine.sh: could not start Xvfb" >&2
    return 1
}

# Creates the prefix once (about 20 s), then keeps one wineserver and Wine's services running for it.
# Their output goes to /dev/null: a service that inherits CTest's pipe would make CTest wait for ever.
wine_start() {
    local build_dir=$1
    export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    qelvora_wine_prefix=$WINEPREFIX
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine.sh: creating the Wine prefix in $WINEPREFIX"
        timeout 180 wineboot --init </dev/null >/dev/null 2>&1 || true
        timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    wineserver -p </dev/null >/dev/null 2>&1 &
    timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
    if [ -n "$qelvora_wine_prefix" ]; then
        WINEPREFIX=$qelvora_wine_prefix timeout 20 wineserver -k >/dev/null 2>&1 || true
        qelvora_wine_prefix=""
    fi
    if [ -n "$qelvora_xvfb_pid" ]; then
        kill "$qelvora_xvfb_pid" 2>/dev/null || true
        wait "$qelvora_xvfb_pid" 2>/dev/null || true
        qelvora_xvfb_pid=""
    fi
}

# Makes the dialog and caption fonts of the prefix WenQuanYi Micro Hei, which has the Chinese glyphs that
# Wine's own Tahoma lacks; without it the frame's caption shows boxes. Once per prefix.
wine_cjk_font() {
    local key='HKCU\Software\Wine\Fonts\Replacements' face
    [ -f "$WINEPREFIX/.qelvora-cjk-font" ] && return 0
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif" "SimSun" "MS Sans Serif"; do
        timeout 60 wine reg add "$key" /v "$face" /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1 || true
    done
    touch "$WINEPREFIX/.qelvora-cjk-font"
}
