#!/usr/bin/env bash
# Paints faces with the engine in real Win32 windows under Wine and with the
# simulation, for the same skin, options, time, client size, taskbar
# (classic or Windows 10) and DPI, and requires identical pixels and the same
# places of the taskbar's windows. Each DPI (96, 144 and 192: 100, 150 and
# 200 %) is Wine's own, set through its LogPixels value; the sizes of each
# case grow with it. "Plain", Herb without its scale folders, shows the base
# artwork enlarged at 192 DPI.
# usage: paint_compare.sh PREVIEW PROBE_EXE SKINS_DIR WORK_DIR
set -u
preview="$1" probe="$2" skins="$3" work="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../scripts/wine_env.sh"
trap wine_env_stop EXIT
mkdir -p "$work/out"
wine_env_start "$work" || exit 1
rm -rf "$work/skins"
cp -r "$skins" "$work/skins" && mkdir -p "$work/skins/Plain" && cp "$skins"/Herb/*.BMP "$work/skins/Plain/" ||
    { echo "cannot copy the skins to $work/skins"; exit 1; }
skins="$work/skins"
dpi=96

cases=0 failed=0
run_case() {  # skin options taskbar-height client(- for the face) vertical(0/1) xp(0/1) [windows10(0/1)], sizes at 100 %
    local skin="$1" options="$2" height=$(($3 * dpi / 96)) client="$4" vertical="$5" xp="$6" windows10="${7:-0}"
    [ "$client" != - ] && client="$((${client%x*} * dpi / 96))x$((${client#*x} * dpi / 96))"
    local name="$skin-${options//,/+}-h$height-c$client-v$vertical-xp$xp-w$windows10-d$dpi"
    local w="$work/out/$name.wine.bmp" s="$work/out/$name.sim.bmp"
    local args=(--skin "$skin" --taskbar-height "$height")
    [ "$options" != none ] && args+=(--options "$options")
    [ "$client" != - ] && args+=(--client "$client")
    cases=$((cases + 1))
    local out rc
    wine_run "$w.log" 30 "$probe" --skins "$(wine_path "$skins")" "${args[@]}" --vertical "$vertical" \
        --windows10 "$windows10" --rects "$w.rects" -o "$w"
    rc=$?
    out=$(cat "$w.log")
    if [ "$rc" != 0 ]; then
        echo "FAIL $name: the Wine probe failed: $out"
        failed=$((failed + 1))
        return
    fi
    local t d
    t=$(printf '%s' "$out" | tr -d '\r' | sed -n 's/^time: //p')
    d=$(printf '%s' "$out" | tr -d '\r' | sed -n 's/^dpi: //p')
    if [ "$d" != "$dpi" ]; then
        echo "FAIL $name: the Wine probe painted at ${d:-an unknown} DPI, not $dpi"
        failed=$((failed + 1))
        return
    fi
    local simargs=(--skins "$skins" "${args[@]}" --time "$t" --dpi "$dpi" --rects "$s.rects" -o "$s")
    [ "$vertical" = 1 ] && simargs+=(--vertical)
    [ "$windows10" = 1 ] && simargs+=(--windows10)
    [ "$xp" = 1 ] && simargs+=(--xp)
    if ! "$preview" "${simargs[@]}"; then
        echo "FAIL $name: dialwick-preview failed"
        failed=$((failed + 1))
        return
    fi
    if ! cmp -s "$w" "$s"; then
        echo "FAIL $name: pixels differ (compare $w with $s)"
        failed=$((failed + 1))
    elif ! cmp -s "$w.rects" "$s.rects"; then
        echo "FAIL $name: the taskbar's windows lie elsewhere (compare $w.rects with $s.rects)"
        failed=$((failed + 1))
    fi
}

option_sets="none seconds date seconds,date,weekday weekday 12h date,left,weekday,12h seconds,date,left,weekday,12h seconds,date,weekday,12h"
for dpi in 96 144 192; do
    wine_set_dpi "$dpi" || exit 1
    for xp in 0 1; do
        wine_set_xp dialwick-paintprobe.exe "$xp"
        for skin in Herb Ember Frost; do
            for options in $option_sets; do
                [ "$xp" = 1 ] && continue
                run_case "$skin" "$options" 30 - 0 0
                run_case "$skin" "$options" 48 - 0 0
            done
            for options in transparent seconds,date,weekday,transparent date,left,12h,transparent; do
                run_case "$skin" "$options" 30 - 0 "$xp"
                run_case "$skin" "$options" 48 150x44 0 "$xp"
            done
        done
        run_case Herb seconds,date,weekday 40 130x46 0 "$xp"
        run_case Herb seconds,transparent 60 - 1 "$xp"
        run_case Herb date,weekday 60 40x30 0 "$xp"
        run_case Plain seconds,date,weekday 40 - 0 "$xp"
        run_case Plain date,left,12h,transparent 30 - 0 "$xp"
        # The Windows 10 taskbar: the clock between the pager and the buttons.
        for skin in Herb Ember Frost; do
            run_case "$skin" date,left,12h,transparent 30 - 0 "$xp" 1
            run_case "$skin" seconds,date,weekday,transparent 48 150x44 0 "$xp" 1
        done
        run_case Herb seconds,transparent 60 - 1 "$xp" 1
    done
    wine_set_xp dialwick-paintprobe.exe 0
done
echo "Wine paint comparison: $cases cases at 96, 144 and 192 DPI, $failed with differences ($WINE_RELAUNCHED launches Wine failed, tried again)"
[ "$failed" = 0 ]
