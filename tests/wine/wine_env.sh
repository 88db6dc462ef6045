# Sourced by the Wine runners: a private Xvfb display and Wine prefix, and
# clean-up of exactly the processes started here.
# Sets WINE_READY=1 on success; on failure prints why and returns non-zero.

wine_env_start() {
    local work
    mkdir -p "$1" && work="$(cd "$1" && pwd)" || { echo "wine runner: cannot use $1"; return 1; }
    export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$work/prefix"
    for cmd in wine wineboot wineserver Xvfb xdpyinfo; do
        command -v "$cmd" >/dev/null || { echo "wine runner: '$cmd' is not installed (run scripts/install-deps)"; return 1; }
    done
    mkdir -p "$work"
    # A display number of our own, free of other users' servers.
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    export DISPLAY=":$n"
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    WINE_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "wine runner: Xvfb did not start on $DISPLAY (see $work/xvfb.log)"; return 1; }
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 120 wineboot -i >"$work/wineboot.log" 2>&1 || { echo "wine runner: wineboot failed (see $work/wineboot.log)"; return 1; }
    fi
    timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -p
    timeout 30 wine cmd /c exit >/dev/null 2>&1 || { echo "wine runner: Wine cannot start a program"; return 1; }
    WINE_READY=1
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
    [ -n "${WINE_XVFB_PID:-}" ] && kill "$WINE_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}

# Makes one program of the prefix see Windows XP (version 5.1), or the default again.
wine_set_xp() {
    local program="$1" on="$2"
    if [ "$on" = 1 ]; then
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d winxp /f >/dev/null 2>&1
    else
        wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /f >/dev/null 2>&1
    fi
    return 0
}

# Z:\ path of a host path, as Wine maps the root file system.
wine_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
