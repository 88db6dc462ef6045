#!/usr/bin/env bash
# What the skinned clock costs under Wine. Two set-ups run one after the
# other, each with its own stand-in taskbar, Wine prefix and display (side by
# side, one set-up's skinned phases fell on the other's, and each carried
# the other's load in them):
#   old  the skinned clock asked to repaint every 250 ms, as the controller
#        once did (dialwick-perfprobe skinned);
#   new  the skinned clock with dialwick.exe, once a second on the second.
# A prefix's wineserver also serves that prefix's own desktop and services,
# and no two prefixes make the same noise: so each set-up measures the stock
# clock in its own prefix, in phases that alternate with the skinned clock's,
# PAIRS of each way, SECONDS over all, the first SETTLE seconds after each
# switch left out, every other pair in the other order. Between phases the controller ends: dialwick.exe on
# WM_CLOSE, as the installer ends it, the probe by itself after its seconds.
# The library stays mapped in the stand-in then, detached and idle.
# Over each phase it takes from /proc the CPU time of the stand-in, of the
# controller and of wineserver, and the controller's context switches (its
# wake-ups and its waits for wineserver); what the skinned clock costs is the
# skinned phases' CPU a second less the stock phases'. Then, over
# LATENCY_SECONDS, how late the face turns after the true second, read from
# the display about once a millisecond by dialwick-facewatch (apart, so that
# its polling is not in the CPU figures).
# usage: perf_wine.sh MINGW_X64_DIR SKINS_DIR WORK_DIR FACEWATCH [SECONDS [LATENCY_SECONDS]]
set -u
mingw="$1" skins="$2" facewatch="$4" seconds="${5:-600}" latency="${6:-120}"
mkdir -p "$3" && work="$(cd "$3" && pwd)" || exit 1
here="$(cd "$(dirname "$0")" && pwd)"
# A fresh prefix's own services settle first: over the first minute they
# still cost several times what they cost later.
warm=60
pairs=5 settle=5
phase=$((seconds / (2 * pairs)))
[ "$phase" -ge 10 ] || phase=10

dist="$work/dist"
rm -rf "$dist" && mkdir -p "$dist/skins"
cp "$mingw"/{dialwick.dll,dialwick.exe,standin-taskbar.exe,dialwick-perfprobe.exe} "$dist/"
cp -r "$skins"/. "$dist/skins/"

# CPU nanoseconds and context switches of a process, all its threads; 0 0
# for none.
usage() {
    local t ns=0 switches=0 a
    [ -n "$1" ] || { echo "0 0"; return; }
    for t in /proc/"$1"/task/*; do
        read -r a _ <"$t/schedstat" 2>/dev/null && ns=$((ns + a))
        a=$(awk '/ctxt_switches/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null)
        switches=$((switches + ${a:-0}))
    done
    echo "$ns $switches"
}

# Waits up to $2 seconds for the background job $1 to end; ends it when it does not.
wait_job() {
    wine_wait_pid "$1" "$2" && return 0
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 1
}

# The skinned clock of set-up $1 for at least $2 seconds.
start_controller() {
    case "$1" in
        old)
            wine "$dist/dialwick-perfprobe.exe" skinned "$2" \
                "$(wine_path "$dist/dialwick.dll")" "$(wine_path "$dist/skins/README.md")" >/dev/null 2>&1 & ;;
        new)
            wine "$dist/dialwick.exe" >/dev/null 2>&1 & ;;
    esac
    controller=$!
}
stop_controller() {
    [ -n "$controller" ] || return 0
    case "$1" in
        # It detaches and ends by itself once its seconds are over.
        old) wait_job "$controller" 30 ;;
        new) wine "$dist/dialwick-perfprobe.exe" close 2>&1 | tr -d '\r'; wait_job "$controller" 10 ;;
    esac
    local rc=$?
    controller=""
    return "$rc"
}

# One phase: "phase: PAIR KIND SECONDS STANDIN_NS WINESERVER_NS CONTROLLER_NS CONTROLLER_SWITCHES".
measure_phase() {
    local name="$1" pair="$2" kind="$3" c="" b_s b_w b_c a_s a_w a_c start wall
    if [ "$kind" = skinned ]; then
        case "$name" in
            old) c=$(wine_prefix_pid '\dialwick-perfprobe.exe') ;;
            new) c=$(wine_prefix_pid '\dialwick.exe') ;;
        esac
        [ -n "$c" ] || { echo "error: no controller in skinned phase $pair"; return 1; }
    fi
    b_s=$(usage "$standin_pid") b_w=$(usage "$server_pid") b_c=$(usage "$c")
    start=$(date +%s.%N)
    sleep "$phase"
    a_s=$(usage "$standin_pid") a_w=$(usage "$server_pid") a_c=$(usage "$c")
    wall=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.3f", e - s }')
    set -- $b_s $a_s $b_w $a_w $b_c $a_c
    echo "phase: $pair $kind $wall $(($3 - $1)) $(($7 - $5)) $((${11} - $9)) $((${12} - ${10}))"
}

# One set-up, in its own prefix; writes its phases and the face's lateness
# to WORK/NAME.txt.
measure() {
    local name="$1" w="$work/$1" out="$work/$1.txt" pair kind line order
    standin="" controller=""
    . "$here/../scripts/wine_env.sh"
    trap '[ -n "$controller" ] && kill "$controller" 2>/dev/null; [ -n "$standin" ] && kill "$standin" 2>/dev/null; wine_env_stop' EXIT
    wine_env_start "$w" >"$w.log" 2>&1 || { echo "error: the Wine environment did not start" >"$out"; return 1; }
    wine "$dist/standin-taskbar.exe" --height 40 >/dev/null 2>&1 &
    standin=$!
    local rect
    rect=$(timeout 60 wine "$dist/dialwick-perfprobe.exe" where | tr -d '\r' | sed -n 's/^clock: //p')
    [ -n "$rect" ] || { echo "error: no stand-in clock" >"$out"; return 1; }
    sleep "$warm"
    standin_pid=$(wine_prefix_pid '\standin-taskbar.exe') server_pid=$(wine_prefix_pid /wineserver)
    [ -n "$standin_pid" ] && [ -n "$server_pid" ] || { echo "error: no stand-in or wineserver process" >"$out"; return 1; }
    : >"$out"
    for pair in $(seq 1 "$pairs"); do
        # Every other pair the other way round: whatever the prefix's own
        # services do more or less of as time goes by falls on both kinds.
        order="stock skinned"
        [ $((pair % 2)) = 0 ] && order="skinned stock"
        for kind in $order; do
            stop_controller "$name" >"$w.stop" 2>&1 ||
                { echo "error: the $name controller did not end before $kind phase $pair: $(cat "$w.stop")" >"$out"; return 1; }
            [ "$kind" = skinned ] && start_controller "$name" $((settle + phase + 1))
            sleep "$settle"
            line=$(measure_phase "$name" "$pair" "$kind") || { echo "$line" >"$out"; return 1; }
            echo "$line" >>"$out"
        done
    done
    stop_controller "$name" || { echo "error: the $name controller did not end" >"$out"; return 1; }
    start_controller "$name" $((settle + latency + 10))
    sleep "$settle"
    set -- $rect
    "$facewatch" "$1" "$2" "$3" "$4" "$latency" | sed 's/^/face /' >>"$out"
    stop_controller "$name"
}

for name in old new; do
    (measure "$name")
done

for name in old new; do
    grep -q '^error' "$work/$name.txt" && { echo "perf_wine: the $name run failed:"; cat "$work/$name.txt"; exit 1; }
done
value() { sed -n "s/^$2: //p" "$work/$1.txt"; }
# The phases of a set-up summed each way, as shell assignments prefixed
# with the set-up's name: shares of one core in per cent, and the lowest and
# highest of the pairs' own differences.
summary() {
    awk -v p="$1_" '
        $1 == "phase:" { k = $3; n[k]++; t[k] += $4; s[k] += $5; w[k] += $6; c[k] += $7; x[k] += $8
                         each[$2, k] = ($5 + $6 + $7) / $4; pairs[$2] = 1 }
        function pct(ns, sec) { return sprintf("%.3f", 100 * ns / 1e9 / sec) }
        END {
            print p "standin_stock=" pct(s["stock"], t["stock"]); print p "standin_skinned=" pct(s["skinned"], t["skinned"])
            print p "controller_skinned=" pct(c["skinned"], t["skinned"])
            print p "server_stock=" pct(w["stock"], t["stock"]); print p "server_skinned=" pct(w["skinned"], t["skinned"])
            st = (s["stock"] + w["stock"]) / t["stock"]; sk = (s["skinned"] + w["skinned"] + c["skinned"]) / t["skinned"]
            print p "all_stock=" pct(st, 1); print p "all_skinned=" pct(sk, 1)
            print p "cost=" pct(sk - st, 1)
            print p "cost_own=" pct((s["skinned"] + c["skinned"]) / t["skinned"] - s["stock"] / t["stock"], 1)
            print p "cost_server=" pct(w["skinned"] / t["skinned"] - w["stock"] / t["stock"], 1)
            m = 0
            for (i in pairs) d[++m] = each[i, "skinned"] - each[i, "stock"]
            for (i = 2; i <= m; i++) for (j = i; j > 1 && d[j - 1] > d[j]; j--) { e = d[j]; d[j] = d[j - 1]; d[j - 1] = e }
            print p "cost_low=" pct(d[1], 1); print p "cost_high=" pct(d[m], 1)
            print p "cost_middle=" pct(m % 2 ? d[(m + 1) / 2] : (d[m / 2] + d[m / 2 + 1]) / 2, 1)
            print p "switches=" sprintf("%.2f", x["skinned"] / t["skinned"])
            print p "seconds_stock=" sprintf("%.0f", t["stock"]); print p "seconds_skinned=" sprintf("%.0f", t["skinned"])
        }' "$work/$1.txt"
}
eval "$(summary old)" "$(summary new)"

row() { printf '%-40s %10s %10s   %10s %10s%s\n' "$@"; }
printf 'Each set-up in its own prefix: %s phases of %s s with the stock clock alone and %s with the skinned\n' "$pairs" "$phase" "$pairs"
printf 'clock, alternating, the first %s s after each switch left out (CPU as a share of one core, from /proc):\n' "$settle"
row "" "old: every" "250 ms" "new: on the" "second" ""
row "" "stock" "skinned" "stock" "skinned" ""
row "CPU, stand-in taskbar" "$old_standin_stock %" "$old_standin_skinned %" "$new_standin_stock %" "$new_standin_skinned %" ""
row "CPU, controller" "" "$old_controller_skinned %" "" "$new_controller_skinned %" ""
row "CPU, wineserver" "$old_server_stock %" "$old_server_skinned %" "$new_server_stock %" "$new_server_skinned %" ""
row "CPU, all three" "$old_all_stock %" "$old_all_skinned %" "$new_all_stock %" "$new_all_skinned %" ""
row "attributable to the skinned clock" "" "$old_cost %" "" "$new_cost %" "   (goal: below 0.05 %)"
row "  of it, stand-in and controller" "" "$old_cost_own %" "" "$new_cost_own %" ""
row "  of it, wineserver" "" "$old_cost_server %" "" "$new_cost_server %" ""
row "  lowest of the $pairs pairs of phases" "" "$old_cost_low %" "" "$new_cost_low %" ""
row "  median of the $pairs pairs of phases" "" "$old_cost_middle %" "" "$new_cost_middle %" ""
row "  highest of the $pairs pairs of phases" "" "$old_cost_high %" "" "$new_cost_high %" ""
row "controller context switches a second" "" "$old_switches" "" "$new_switches" ""
printf '(measured: old %s s stock and %s s skinned, new %s s and %s s)\n' \
    "$old_seconds_stock" "$old_seconds_skinned" "$new_seconds_stock" "$new_seconds_skinned"

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
