#!/usr/bin/env bash
# The Wine soak: the real dialwick.dll attached to a stand-in taskbar in its
# own Wine process takes REQUESTS repaint requests (10,000 by default); the
# stand-in's GDI object count must not grow.
# usage: soak_wine.sh MINGW_X64_DIR SKINS_DIR WORK_DIR [REQUESTS]
set -u
mingw="$1" skins="$2" work="$3" requests="${4:-10000}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../scripts/wine_env.sh"
standin_pid=""
cleanup() {
    [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null
    wine_env_stop
}
trap cleanup EXIT
for f in dialwick.dll standin-taskbar.exe dialwick-soakwine.exe; do
    [ -f "$mingw/$f" ] || { echo "soak: $mingw/$f is missing (build the mingw-x64 preset)"; exit 1; }
done
dist="$work/dist"
rm -rf "$dist"
mkdir -p "$dist/skins"
cp "$mingw"/{dialwick.dll,standin-taskbar.exe,dialwick-soakwine.exe} "$dist/"
cp -r "$skins"/. "$dist/skins/"
wine_env_start "$work" || exit 1

wine "$dist/standin-taskbar.exe" >"$work/standin.log" 2>&1 &
standin_pid=$!
start=$(date +%s)
timeout 600 wine "$dist/dialwick-soakwine.exe" "$(wine_path "$dist/dialwick.dll")" \
    "$(wine_path "$dist/skins/dialwick.exe")" "$requests" 2>&1 | tr -d '\r' | tee "$work/soak.txt"
rc=${PIPESTATUS[0]}
echo "Wine soak: $requests repaint requests in $(( $(date +%s) - start )) s, exit $rc"
exit "$rc"
