#!/usr/bin/env bash
# What the skinned clock costs a real taskbar process under Wine: the
# stand-in taskbar's CPU time over SECONDS with the stock clock only, then
# with the real library repainting four times a second; its GDI objects and
# private bytes before and after.
# usage: perf_wine.sh MINGW_X64_DIR SKINS_DIR WORK_DIR [SECONDS]
set -u
mingw="$1" skins="$2" seconds="${4:-60}"
mkdir -p "$3" && work="$(cd "$3" && pwd)" || exit 1
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine_env.sh"
standin_pid=""
cleanup() {
    [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null
    wine_env_stop
}
trap cleanup EXIT

dist="$work/dist"
rm -rf "$dist" && mkdir -p "$dist/skins"
cp "$mingw"/{dialwick.dll,standin-taskbar.exe,dialwick-perfprobe.exe} "$dist/"
cp -r "$skins"/. "$dist/skins/"
wine_env_start "$work" || exit 1

# One run against a fresh stand-in (the library stays mapped in a process it was hooked into).
run() {
    wine "$dist/standin-taskbar.exe" --height 40 >/dev/null 2>&1 &
    standin_pid=$!
    timeout $((seconds + 60)) wine "$dist/dialwick-perfprobe.exe" "$@" | tr -d '\r'
    kill "$standin_pid" 2>/dev/null
    wait "$standin_pid" 2>/dev/null
    standin_pid=""
}

stock=$(run stock "$seconds")
skinned=$(run skinned "$seconds" "$(wine_path "$dist/dialwick.dll")" "$(wine_path "$dist/skins/README.md")")
value() { printf '%s\n' "$1" | sed -n "s/^$2: //p"; }
[ -n "$(value "$stock" cpu)" ] && [ -n "$(value "$skinned" cpu)" ] || {
    echo "perf_wine: a measuring run failed"; printf '%s\n%s\n' "$stock" "$skinned"; exit 1; }

awk -v s="$(value "$stock" cpu)" -v k="$(value "$skinned" cpu)" -v w="$(value "$skinned" seconds)" \
    -v r="$(value "$skinned" requests)" 'BEGIN {
    printf "%-44s %10.4f s\n", "stand-in CPU, stock clock only", s
    printf "%-44s %10.4f s  (%d repaint requests)\n", "stand-in CPU, skinned clock", k, r
    d = k - s; if (d < 0) d = 0
    printf "%-44s %10.4f %%  (goal: below 0.1 %%)\n", "attributable to the library, of one core", 100 * d / w
}'
set -- $(value "$skinned" gdi)
printf '%-44s %10s -> %s\n' "stand-in GDI objects over the run" "$1" "$2"
set -- $(value "$skinned" private)
printf '%-44s %10s -> %s\n' "stand-in private bytes over the run" "$1" "$2"
set -- $(value "$skinned" workingset)
printf '%-44s %10s -> %s\n' "stand-in working set over the run" "$1" "$2"
