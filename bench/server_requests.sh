#!/usr/bin/env bash
# The Wine server requests the skinned clock costs, by process and by kind:
# a count, not a timing, so it is the same from run to run. One prefix whose
# wineserver traces every request (-d1): the stand-in taskbar alone for
# SECONDS, then with dialwick.exe and the Herb skin for SECONDS more.
# usage: server_requests.sh MINGW_X64_DIR SKINS_DIR WORK_DIR [SECONDS]
set -u
mingw="$1" skins="$2" seconds="${4:-20}"
mkdir -p "$3" && work="$(cd "$3" && pwd)" || exit 1
here="$(cd "$(dirname "$0")" && pwd)"
dist="$work/dist"
rm -rf "$dist" && mkdir -p "$dist/skins"
cp "$mingw"/{dialwick.dll,dialwick.exe,standin-taskbar.exe,dialwick-perfprobe.exe} "$dist/"
cp -r "$skins"/. "$dist/skins/"

. "$here/../scripts/wine_env.sh"
trap 'wine_env_stop' EXIT
wine_env_start "$work/env" >"$work/env.log" 2>&1 || { echo "server_requests: $(tail -1 "$work/env.log")"; exit 1; }
# The prefix's server again, in the foreground, tracing.
wineserver -k && wineserver -w
log="$work/server.log"
wineserver -f -p -d1 2>"$log" &

# The server's thread ids of Unix process $1, as a pattern of alternatives.
thread_ids() {
    local tid ids=""
    for tid in $(ls "/proc/$1/task" 2>/dev/null); do
        ids="$ids|$(sed -n "s/^\([0-9a-f]*\): init_\(first_\)\{0,1\}thread( unix_pid=[0-9]*, unix_tid=$tid,.*/\1/p;
                           s/^\([0-9a-f]*\): init_thread( unix_tid=$tid,.*/\1/p" "$log" | tail -1)"
    done
    echo "${ids#|}" | sed 's/||*/|/g; s/^|//; s/|$//'
}
# Bytes of the trace so far: the window of a phase is what it adds.
mark() { stat -c %s "$log"; }
# The requests (not their replies) of threads IDS in the trace from byte $2 to $3, a second.
count() {
    tail -c +$(($2 + 1)) "$log" | head -c $(($3 - $2)) |
        grep -E "^($1): [a-z_]+\( " | sed 's/^[0-9a-f]*: \([a-z_]*\)(.*/\1/' | sort | uniq -c |
        awk -v s="$seconds" '{ printf "%s %.1f\n", $2, $1 / s; total += $1 } END { printf "all %.1f\n", total / s }'
}

wine "$dist/standin-taskbar.exe" --height 40 >/dev/null 2>&1 &
sleep 30
a=$(mark); sleep "$seconds"; b=$(mark)
wine "$dist/dialwick.exe" >/dev/null 2>&1 &
sleep 15
c=$(mark); sleep "$seconds"; d=$(mark)
standin=$(thread_ids "$(wine_prefix_pid '\standin-taskbar.exe')")
controller=$(thread_ids "$(wine_prefix_pid '\dialwick.exe')")
wine "$dist/dialwick-perfprobe.exe" close >/dev/null 2>&1
[ -n "$standin" ] && [ -n "$controller" ] || { echo "server_requests: no stand-in or controller threads in the trace"; exit 1; }

count "$standin" "$a" "$b" >"$work/stock.txt"
count "$standin" "$c" "$d" >"$work/skinned.txt"
count "$controller" "$c" "$d" >"$work/controller.txt"
printf 'Wine server requests a second over %s s, the stock clock alone and the skinned clock:\n' "$seconds"
printf '%-24s %10s %10s %12s\n' "request" "stand-in," "stand-in," "controller"
printf '%-24s %10s %10s %12s\n' "" "stock" "skinned" ""
cat "$work/stock.txt" "$work/skinned.txt" "$work/controller.txt" | awk '{ print $1 }' | sort -u | grep -vx all |
    while read -r r; do
        printf '%-24s %10s %10s %12s\n' "$r" \
            "$(awk -v r="$r" '$1 == r { print $2 }' "$work/stock.txt")" \
            "$(awk -v r="$r" '$1 == r { print $2 }' "$work/skinned.txt")" \
            "$(awk -v r="$r" '$1 == r { print $2 }' "$work/controller.txt")"
    done
st=$(awk '$1 == "all" { print $2 }' "$work/stock.txt")
sk=$(awk '$1 == "all" { print $2 }' "$work/skinned.txt")
co=$(awk '$1 == "all" { print $2 }' "$work/controller.txt")
printf '%-24s %10s %10s %12s\n' "all" "$st" "$sk" "$co"
printf '%-24s %10s\n' "attributable" "$(awk -v a="$st" -v b="$sk" -v c="$co" 'BEGIN { printf "%.1f", b + c - a }')"
