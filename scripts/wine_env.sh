# Sourced by the demo, the Wine test runners and the Wine benchmarks: a
# private Xvfb display and Wine prefix, and clean-up of exactly the processes
# started here.
# Sets WINE_READY=1 on success; on failure prints why and returns non-zero.
# A prefix holds about 1.3 GB of Wine's own files, so each runner removes its
# prefix when it stops: a whole test run then needs room for one at a time.

# Exit code that ctest reports as "skipped" (SKIP_RETURN_CODE of the Wine tests).
WINE_SKIP=77

# Whether this kernel runs 32-bit programs: some kernels are built without
# IA32 emulation, and then 32-bit Wine cannot start. Prints the reason when not.
wine_runs_32bit() {
    local loader=/usr/lib/wine/wine out
    [ -x "$loader" ] || { echo "wine runner: 32-bit Wine ($loader, package wine32:i386) is not installed (run scripts/install-deps)"; return 2; }
    out="$("$loader" --version 2>&1)" && return 0
    case "$out" in
        *"Exec format error"*) echo "this kernel does not run 32-bit programs ($out)"; return 1 ;;
    esac
    echo "wine runner: 32-bit Wine does not start: $out"
    return 2
}

# Skips (exit WINE_SKIP) when the kernel refuses 32-bit programs; fails when
# 32-bit Wine is missing or broken.
wine_require_32bit() {
    local why rc
    why="$(wine_runs_32bit)"
    rc=$?
    [ "$rc" = 0 ] && return 0
    if [ "$rc" = 1 ]; then
        echo "SKIPPED: $why"
        exit "$WINE_SKIP"
    fi
    echo "$why"
    exit 1
}

# wine_env_start WORK [ARCH]: ARCH is the prefix kind, win64 (default) or win32.
wine_env_start() {
    local work arch="${2:-win64}"
    mkdir -p "$1" && work="$(cd "$1" && pwd)" || { echo "wine runner: cannot use $1"; return 1; }
    export WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$work/prefix"
    WINE_OWN_PREFIX="$WINEPREFIX"
    for cmd in wine wineboot wineserver Xvfb xdpyinfo; do
        command -v "$cmd" >/dev/null || { echo "wine runner: '$cmd' is not installed (run scripts/install-deps)"; return 1; }
    done
    mkdir -p "$work"
    # A display of our own: Xvfb picks a free number itself and tells it, so
    # runners started side by side never race for one.
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    WINE_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -1 "$work/display" 2>/dev/null)"
    xdpyinfo >/dev/null 2>&1 || { echo "wine runner: Xvfb did not start (see $work/xvfb.log)"; return 1; }
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local free_mb
        free_mb=$(df -Pm "$work" | awk 'NR == 2 { print $4 }')
        if [ -n "$free_mb" ] && [ "$free_mb" -lt "$WINE_PREFIX_MB" ]; then
            echo "wine runner: $free_mb MB free on the disk of $work; a Wine prefix needs about $WINE_PREFIX_MB MB"
            return 1
        fi
        timeout 120 wineboot -i >"$work/wineboot.log" 2>&1 || { echo "wine runner: wineboot failed (see $work/wineboot.log)"; return 1; }
    fi
    timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -p
    timeout 30 wine cmd /c exit >/dev/null 2>&1 || { echo "wine runner: Wine cannot start a program"; return 1; }
    WINE_READY=1
}

# Room a new prefix takes, with some to spare for what the runners write.
WINE_PREFIX_MB=1600

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
    [ -n "${WINE_XVFB_PID:-}" ] && kill "$WINE_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${WINE_OWN_PREFIX:-}" ] && rm -rf "$WINE_OWN_PREFIX"
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

# wine_set_dpi DPI: the DPI every program of the prefix sees from now on,
# through the LogPixels value Wine reads when its server starts: the value is
# written, the server ended (which writes the registry to disk) and started
# again, and Wine warmed up as at start.
wine_set_dpi() {
    timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        { echo "wine runner: cannot set LogPixels to $1"; return 1; }
    wineserver -k
    wineserver -w
    wineserver -p
    timeout 30 wine cmd /c exit >/dev/null 2>&1 || { echo "wine runner: Wine does not start at $1 DPI"; return 1; }
}

# wine_launch_failed TEXT: whether TEXT is Wine's launcher failing, not the
# program. On a loaded machine it now and then cannot start a program at all
# ("Application could not be started ... ShellExecuteEx failed: Internal
# error"); the program never ran, so a runner may start it again.
wine_launch_failed() {
    case "$1" in *"Application could not be started"*) return 0 ;; esac
    return 1
}
WINE_LAUNCH_TRIES=3
WINE_RELAUNCHED=0

# wine_run LOG SECONDS PROGRAM [ARGS...]: runs PROGRAM under Wine for at
# most SECONDS, its output in LOG, and returns its exit code. Only a launch
# that Wine itself failed is tried again, up to WINE_LAUNCH_TRIES times;
# WINE_RELAUNCHED counts those.
wine_run() {
    local log="$1" seconds="$2" rc try
    shift 2
    for try in $(seq 1 "$WINE_LAUNCH_TRIES"); do
        timeout "$seconds" wine "$@" >"$log" 2>&1
        rc=$?
        [ "$rc" != 0 ] && wine_launch_failed "$(cat "$log")" || break
        echo "note: Wine could not start $(basename "$1") (try $try of $WINE_LAUNCH_TRIES)"
        WINE_RELAUNCHED=$((WINE_RELAUNCHED + 1))
    done
    return "$rc"
}

# wine_wait_pid PID SECONDS: waits up to SECONDS for the background job PID
# to end, and keeps its exit code in WINE_WAITED_RC; false, with the job
# still running, when it does not.
wine_wait_pid() {
    local i
    for i in $(seq 1 $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; WINE_WAITED_RC=$?; return 0; }
        sleep 0.1
    done
    return 1
}

# Z:\ path of a host path, as Wine maps the root file system.
wine_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# The process of this prefix whose command line holds TEXT. A Windows
# program's has its Windows path: "\standin-taskbar.exe" finds it, and not
# the start.exe that Wine runs it through, whose command line has a Unix path.
wine_prefix_pid() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' ' ' 2>/dev/null <"$p/cmdline" | grep -qF -- "$1" || continue
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "${p#/proc/}"
        return 0
    done
    return 1
}
