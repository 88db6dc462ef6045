#!/usr/bin/env bash
# What the skinned clock costs under Wine, three ways side by side, each
# with its own stand-in taskbar, Wine prefix and display, run together:
#   stock  the stand-in's own clock alone;
#   old    the skinned clock asked to repaint every 250 ms, as the controller
#          once did (dialwick-perfprobe skinned);
#   new    the skinned clock with dialwick.exe, once a second on the second.
# Over SECONDS each, it takes from /proc the CPU time of the stand-in, of the
# controller and of wineserver, and the controller's context switches (its
# wake-ups); then, over LATENCY_SECONDS, how late the face turns after the
# true second, read from the display about once a millisecond by
# dialwick-facewatch (a run of its own, so that its polling is not in the CPU
# figures).
# usage: perf_wine.sh MINGW_X64_DIR SKINS_DIR WORK_DIR FACEWATCH [SECONDS [LATENCY_SECONDS]]
set -u
mingw="$1" skins="$2" facewatch="$4" seconds="${5:-600}" latency="${6:-120}"
mkdir -p "$3" && work="$(cd "$3" && pwd)" || exit 1
here="$(cd "$(dirname "$0")" && pwd)"
# A fresh prefix's own services settle first.
warm=30

dist="$work/dist"
rm -rf "$dist" && mkdir -p "$dist/skins"
cp "$mingw"/{dialwick.dll,dialwick.exe,standin-taskbar.exe,dialwick-perfprobe.exe} "$dist/"
cp -r "$skins"/. "$dist/skins/"

# The process of this prefix whose command line holds TEXT. A Windows
# program's has its Windows path: "\standin-taskbar.exe" finds it, and not
# the start.exe that Wine runs it through, whose command line has a Unix path.
prefix_pid() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' ' ' 2>/dev/null <"$p/cmdline" | grep -qF -- "$1" || continue
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "${p#/proc/}"
        return 0
    done
    return 1
}
# CPU nanoseconds and context switches of a process, all its threads.
usage() {
    local t ns=0 switches=0 a
    for t in /proc/"$1"/task/*; do
        read -r a _ <"$t/schedstat" 2>/dev/null && ns=$((ns + a))
        a=$(awk '/ctxt_switches/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null)
        switches=$((switches + ${a:-0}))
    done
    echo "$ns $switches"
}

# One way of running the clock; writes key: value lines to WORK/NAME.txt.
measure() {
    local name="$1" w="$work/$1" out="$work/$1.txt" p
    standin="" controller=""
    . "$here/../tests/wine/wine_env.sh"
    trap '[ -n "$controller" ] && kill "$controller" 2>/dev/null; [ -n "$standin" ] && kill "$standin" 2>/dev/null; wine_env_stop' EXIT
    wine_env_start "$w" >"$w.log" 2>&1 || { echo "error: the Wine environment did not start" >"$out"; return 1; }
    wine "$dist/standin-taskbar.exe" --height 40 >/dev/null 2>&1 &
    standin=$!
    local rect
    rect=$(timeout 60 wine "$dist/dialwick-perfprobe.exe" where | tr -d '\r' | sed -n 's/^clock: //p')
    [ -n "$rect" ] || { echo "error: no stand-in clock" >"$out"; return 1; }
    case "$name" in
        old)
            wine "$dist/dialwick-perfprobe.exe" skinned $((warm + seconds + latency + 60)) \
                "$(wine_path "$dist/dialwick.dll")" "$(wine_path "$dist/skins/README.md")" >/dev/null 2>&1 &
            controller=$! ;;
        new)
            wine "$dist/dialwick.exe" >/dev/null 2>&1 &
            controller=$! ;;
    esac
    sleep "$warm"
    local pids=() names=(standin controller wineserver) before=() after=()
    pids[0]=$(prefix_pid '\standin-taskbar.exe')
    case "$name" in
        old) pids[1]=$(prefix_pid '\dialwick-perfprobe.exe') ;;
        new) pids[1]=$(prefix_pid '\dialwick.exe') ;;
    esac
    pids[2]=$(prefix_pid /wineserver)
    for p in 0 1 2; do [ -n "${pids[$p]:-}" ] && before[$p]=$(usage "${pids[$p]}"); done
    local start=$(date +%s.%N)
    sleep "$seconds"
    for p in 0 1 2; do [ -n "${pids[$p]:-}" ] && after[$p]=$(usage "${pids[$p]}"); done
    local wall
    wall=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
    {
        echo "seconds: $wall"
        for p in 0 1 2; do
            [ -n "${pids[$p]:-}" ] && [ -n "${after[$p]:-}" ] || continue
            set -- ${before[$p]} ${after[$p]}
            echo "${names[$p]}: $(($3 - $1)) $(($4 - $2))"
        done
    } >"$out"
    [ "$name" = stock ] && return 0
    set -- $rect
    "$facewatch" "$1" "$2" "$3" "$4" "$latency" | sed 's/^/face /' >>"$out"
}

for name in stock old new; do
    (measure "$name") &
done
wait

for name in stock old new; do
    grep -q '^error' "$work/$name.txt" && { echo "perf_wine: the $name run failed:"; cat "$work/$name.txt"; exit 1; }
done
value() { sed -n "s/^$2: //p" "$work/$1.txt"; }
field() { value "$1" "$2" | awk -v n="$3" '{ print $n }'; }
pct() {  # nanoseconds over the run's seconds, as a percentage of one core
    [ -n "$1" ] && awk -v n="$1" -v s="$2" 'BEGIN { printf "%.3f %%", 100 * n / 1e9 / s }' || echo "-"
}

printf 'Over %s s each, side by side (CPU as a share of one core, from /proc):\n' "$seconds"
printf '%-40s %14s %14s %14s\n' "" "stock clock" "old: 250 ms" "new: on the second"
for who in standin controller wineserver; do
    printf '%-40s %14s %14s %14s\n' "CPU, $who" \
        "$(pct "$(field stock $who 1)" "$(value stock seconds)")" \
        "$(pct "$(field old $who 1)" "$(value old seconds)")" \
        "$(pct "$(field new $who 1)" "$(value new seconds)")"
done
total() { echo $(( $(field "$1" standin 1) + $(field "$1" controller 1) + $(field "$1" wineserver 1) )); }
stock_total=$(( $(field stock standin 1) + $(field stock wineserver 1) ))
old_total=$(total old) new_total=$(total new)
printf '%-40s %14s %14s %14s\n' "CPU, all three" "$(pct "$stock_total" "$(value stock seconds)")" \
    "$(pct "$old_total" "$(value old seconds)")" "$(pct "$new_total" "$(value new seconds)")"
attributable() {  # CPU of the run less the stock clock's, both per second
    awk -v k="$1" -v ks="$2" -v s="$3" -v ss="$(value stock seconds)" \
        'BEGIN { printf "%.3f %%", 100 * (k / ks - s / ss) / 1e9 }'
}
printf '%-40s %14s %14s %14s   (goal: below 0.05 %%)\n' "attributable to the skinned clock" "" \
    "$(attributable "$old_total" "$(value old seconds)" "$stock_total")" \
    "$(attributable "$new_total" "$(value new seconds)" "$stock_total")"
# Each prefix's wineserver also serves that prefix's own desktop and
# services, whose noise can outweigh the clock: the other two apart.
apart() { echo $(( $(field "$1" standin 1) + $(field "$1" controller 1) )); }
printf '%-40s %14s %14s %14s\n' "  of it, stand-in and controller" "" \
    "$(attributable "$(apart old)" "$(value old seconds)" "$(field stock standin 1)")" \
    "$(attributable "$(apart new)" "$(value new seconds)" "$(field stock standin 1)")"
printf '%-40s %14s %14s %14s\n' "  of it, wineserver" "" \
    "$(attributable "$(field old wineserver 1)" "$(value old seconds)" "$(field stock wineserver 1)")" \
    "$(attributable "$(field new wineserver 1)" "$(value new seconds)" "$(field stock wineserver 1)")"
# Every wait counts: the timer's wake-up and each request to wineserver.
switches() { awk -v n="$(field "$1" controller 2)" -v s="$(value "$1" seconds)" 'BEGIN { printf "%.2f", n / s }'; }
printf '%-40s %14s %14s %14s\n' "controller context switches a second" "" "$(switches old)" "$(switches new)"
printf '\nHow late the face turns after the true second, over %s s (read every %s / %s ms):\n' "$latency" \
    "$(value old 'face poll')" "$(value new 'face poll')"
printf '%-40s %14s %14s %14s\n' "" "" "old: 250 ms" "new: on the second"
printf '%-40s %14s %14s %14s\n' "turns seen a second" "" \
    "$(awk -v t="$(value old 'face turns')" -v s="$(value old 'face seconds')" 'BEGIN { printf "%.2f", t / s }')" \
    "$(awk -v t="$(value new 'face turns')" -v s="$(value new 'face seconds')" 'BEGIN { printf "%.2f", t / s }')"
for q in median p99 max; do
    goal=""
    [ "$q" = median ] && goal="   (goal: below 20 ms)"
    [ "$q" = p99 ] && goal="   (goal: below 50 ms)"
    printf '%-40s %14s %14s %14s%s\n' "$q, ms" "" "$(value old "face $q")" "$(value new "face $q")" "$goal"
done
