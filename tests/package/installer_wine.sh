#!/usr/bin/env bash
# The shipped installer's round trip under Wine, in a fresh prefix with the
# stand-in taskbar running: silent install, the installed dialwick.exe skins
# the clock, an update over the running copy, a copy that will not exit, and
# silent uninstalls that stop the clock and remove what was installed.
# In a win64 prefix the installer must put the 64-bit build in place, in a
# win32 prefix the 32-bit one; the helper programs are of that build.
# usage: installer_wine.sh MINGW_X64_DIR MINGW_I686_DIR SETUP_EXE win64|win32 WORK_DIR
set -u
mingw_x64="$1" mingw_i686="$2" setup="$3" prefix_arch="$4" work="$5"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
. "$root/scripts/wine_env.sh"

started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    wine_env_stop
}
trap cleanup EXIT

failed=0
fail() { echo "FAIL $*"; failed=$((failed + 1)); }
ok() { echo "ok   $*"; }

case "$prefix_arch" in
    win64) build="$mingw_x64" expected=win64 ;;
    win32) build="$mingw_i686" expected=win32 ;;
    *) echo "installer test: the prefix kind is win64 or win32, not '$prefix_arch'"; exit 1 ;;
esac
[ -f "$setup" ] || { echo "installer test: $setup is missing (run scripts/package)"; exit 1; }
# The shipped installer is a 32-bit program, whichever Windows it installs for.
wine_require_32bit
for f in standin-taskbar.exe dialwick-e2e.exe; do
    [ -f "$build/$f" ] || { echo "installer test: $build/$f is missing (build the mingw presets)"; exit 1; }
done

mkdir -p "$work"
work="$(cd "$work" && pwd)"
rm -rf "$work/prefix" "$work/stage" "$work/out"
mkdir -p "$work/out"
# What the installer must put in place, laid out from the same builds.
"$root/packaging/stage.sh" "$mingw_x64" "$mingw_i686" "$work/stage" >/dev/null || exit 1
version="$(cat "$work/stage/version.txt")"
cp "$build/standin-taskbar.exe" "$build/dialwick-e2e.exe" "$work/"
echo "installer test: $(basename "$setup") in a $prefix_arch prefix"

wine_env_start "$work" "$prefix_arch" || exit 1
local_dir="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')" 2>/dev/null)"
programs_dir="$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')" 2>/dev/null)/Microsoft/Windows/Start Menu/Programs"
inst="$local_dir/Programs/ZantorDialwick"
inst_win="$(winepath -w "$inst" 2>/dev/null)"
link="$programs_dir/Zantor Dialwick.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Orvantis\Zantor\Dialwick'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZantorDialwick'

# "TYPE DATA" of a registry value, empty when it is absent.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = ""; sub(/^ +/, ""); print; exit }'
}
reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# Waits up to $2 seconds for path $1 to be gone.
wait_gone() {
    local i
    for i in $(seq 1 $(($2 * 10))); do
        [ -e "$1" ] || return 0
        sleep 0.1
    done
    return 1
}
e2e() {  # scenario, log name, more flags
    local scenario="$1" log="$work/out/$2.log"
    shift 2
    timeout 60 wine "$work/dialwick-e2e.exe" "$scenario" --height 30 --out "$(wine_path "$work/out")" "$@" >"$log" 2>&1
    tr -d '\r' <"$log" | grep -q "0 failure"
}

# Starts the installed dialwick.exe, as the Start menu would, and waits until
# the stand-in is skinned; its process id goes to $controller.
start_clock() {  # log name
    wine "$inst/dialwick.exe" >"$work/$1-controller.log" 2>&1 &
    controller=$!
    started+=("$controller")
    e2e wait-skinned "$1"
}

wine "$work/standin-taskbar.exe" --height 30 >"$work/standin.log" 2>&1 &
started+=($!)

step_failed() { [ "$failed" != "$1" ]; }

# 1. A silent install in a fresh prefix.
f0=$failed
timeout 120 wine "$setup" /S
rc=$?
[ "$rc" = 0 ] || fail "install: the installer ended with $rc"
for f in $(cd "$work/stage/$expected" && find . -type f | sed 's|^\./||'); do
    cmp -s "$work/stage/$expected/$f" "$inst/$f" || fail "install: $f is missing or is not the $expected build's"
done
[ -f "$inst/uninstall.exe" ] || fail "install: no uninstall.exe"
[ -f "$link" ] || fail "install: no Start-menu entry at $link"
[ "$(reg_value "$run_key" ZantorDialwick)" = "REG_EXPAND_SZ $inst_win\\dialwick.exe" ] ||
    fail "install: the Run value is '$(reg_value "$run_key" ZantorDialwick)'"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "REG_SZ $version" ] || fail "install: no uninstall entry for $version"
shown="$(wine "$inst/dialwick.exe" --version 2>/dev/null | tr -d '\r')"
[ "$shown" = "Zantor Dialwick $version" ] || fail "install: dialwick.exe --version shows '$shown'"
step_failed "$f0" || ok "silent install: files, Start menu, Run value, uninstall entry, --version"

# 2. The installed program skins the taskbar.
f0=$failed
start_clock skinned-1 || fail "run: the installed dialwick.exe did not skin the stand-in (see $work/out/skinned-1.log)"
step_failed "$f0" || ok "the installed dialwick.exe skins the stand-in taskbar"

# 3. An update over the running copy stops it first and starts the new one;
# autostart, switched off since, stays off.
f0=$failed
wine reg delete "$run_key" /v ZantorDialwick /f >/dev/null 2>&1
timeout 120 wine "$setup" /S
rc=$?
[ "$rc" = 0 ] || fail "update: the installer ended with $rc"
wine_wait_pid "$controller" 5 || fail "update: the running dialwick.exe was not stopped"
e2e wait-skinned skinned-2 || fail "update: the clock was not skinned again after the update (see $work/out/skinned-2.log)"
[ -z "$(reg_value "$run_key" ZantorDialwick)" ] || fail "update: autostart was switched on again"
step_failed "$f0" || ok "an update stops the running copy, starts the new one and keeps autostart off"

# 4. A copy that does not exit: the installer gives up after waiting and changes nothing.
f0=$failed
e2e close-controller closed || fail "hung copy: cannot close the running dialwick.exe"
wine "$work/dialwick-e2e.exe" hold-instance --out x >/dev/null 2>&1 &
holder=$!
started+=("$holder")
sleep 1
touch -d '2001-01-01' "$inst/dialwick.dll"
start=$(date +%s)
timeout 120 wine "$setup" /S
rc=$?
[ "$rc" = 2 ] || fail "hung copy: the installer ended with $rc, not 2 (aborted)"
[ $(($(date +%s) - start)) -ge 9 ] || fail "hung copy: the installer did not wait for the copy to exit"
[ "$(date -r "$inst/dialwick.dll" +%Y)" = 2001 ] || fail "hung copy: the installer replaced files anyway"
kill "$holder" 2>/dev/null
wine_wait_pid "$holder" 5
step_failed "$f0" || ok "a copy that will not exit makes the installer stop without changing anything"

# 5. A silent uninstall stops the clock, removes what was installed and the
# Run value, keeps the settings and skins the user added.
f0=$failed
start_clock skinned-3 || fail "uninstall: the clock was not skinned before the uninstall"
reg_key_exists "$settings_key" || fail "uninstall: no settings were written before the uninstall"
# Autostart switched on from the clock's menu names the same program as the installer's.
e2e command autostart --command 205 || fail "uninstall: cannot send the clock the autostart command"
[ "$(reg_value "$run_key" ZantorDialwick)" = "REG_EXPAND_SZ $inst_win\\dialwick.exe" ] ||
    fail "uninstall: the clock menu wrote the Run value '$(reg_value "$run_key" ZantorDialwick)'"
mkdir -p "$inst/skins/Mine"
cp "$inst/skins/Herb/"*.BMP "$inst/skins/Mine/"
timeout 60 wine "$inst/uninstall.exe" /S
wait_gone "$inst/uninstall.exe" 30 || fail "uninstall: uninstall.exe is still there after 30 s"
e2e wait-stock stock-1 || fail "uninstall: the stand-in's own clock did not come back (see $work/out/stock-1.log)"
wine_wait_pid "$controller" 5 || fail "uninstall: dialwick.exe is still running"
for f in dialwick.exe dialwick.dll README.txt LICENSE.txt skins/Herb skins/Ember skins/Frost skins/README.md; do
    [ -e "$inst/$f" ] && fail "uninstall: $f is still there"
done
[ -f "$inst/skins/Mine/NUMBERS.BMP" ] || fail "uninstall: the user's own skin was removed"
[ -e "$link" ] && fail "uninstall: the Start-menu entry is still there"
[ -z "$(reg_value "$run_key" ZantorDialwick)" ] || fail "uninstall: the Run value is still there"
reg_key_exists "$uninstall_key" && fail "uninstall: the uninstall entry is still there"
reg_key_exists "$settings_key" || fail "uninstall: the settings were removed without being asked"
step_failed "$f0" || ok "silent uninstall: clock stopped, files and Run value gone, settings and own skins kept"

# 6. Asked to, the uninstaller removes the settings too; a Run value that
# names another copy is that copy's and stays.
f0=$failed
rm -rf "$inst"
timeout 120 wine "$setup" /S || fail "reinstall: the installer failed"
elsewhere='C:\Portable\ZantorDialwick\dialwick.exe'
wine reg add "$run_key" /v ZantorDialwick /t REG_EXPAND_SZ /d "$elsewhere" /f >/dev/null 2>&1
timeout 60 wine "$inst/uninstall.exe" /S /REMOVESETTINGS
wait_gone "$inst" 30 || fail "remove settings: $inst is still there"
reg_key_exists "$settings_key" && fail "remove settings: the settings key is still there"
[ "$(reg_value "$run_key" ZantorDialwick)" = "REG_EXPAND_SZ $elsewhere" ] ||
    fail "remove settings: the other copy's Run value was changed"
step_failed "$f0" || ok "uninstall /REMOVESETTINGS removes the settings and keeps another copy's Run value"

echo "Installer under Wine: $failed failures"
[ "$failed" = 0 ]
