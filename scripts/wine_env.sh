# Sourced by the test and start scripts: a 32-bit Wine prefix and, where needed, an X display.
#   KEYVORA_PREFIX   the prefix folder (default build/wineprefix)
#   KEYVORA_LANG     the locale Wine runs in (default zh_CN.UTF-8: code page 936)

keyvora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${KEYVORA_PREFIX:-$keyvora_root/build/wineprefix}
export LANG=${KEYVORA_LANG:-zh_CN.UTF-8}
export LC_ALL=$LANG

# Creates the prefix once (wineboot takes 10 to 15 s), with Wine drawing its own window frames so
# windows look as on Windows even without a window manager.
wine_prefix_init() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        timeout 120 wineboot -i >/dev/null 2>&1 || true
        timeout 60 wineserver -w || true
        timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
        timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1 || true
        timeout 60 wineserver -w || true
    fi
}

# Keeps one wine server up for this prefix until wine_stop.
wine_keep_server() { wineserver -p >/dev/null 2>&1 || true; }
wine_stop() { wineserver -k >/dev/null 2>&1 || true; }

# Starts Xvfb on a free display when there is none to use; sets DISPLAY.
xvfb_start() {
    local n
    for n in $(seq 90 120); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            keyvora_xvfb_pid=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 100); do
                xdpyinfo >/dev/null 2>&1 && return 0
                sleep 0.05
            done
            echo "Xvfb did not start on :$n" >&2
            return 1
        fi
    done
    echo "no free X display number" >&2
    return 1
}
xvfb_stop() { [ -n "${keyvora_xvfb_pid:-}" ] && kill "$keyvora_xvfb_pid" 2>/dev/null; keyvora_xvfb_pid=; }
