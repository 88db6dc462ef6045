#!/usr/bin/env bash
# Loads every file of the bitmap suite with the simulated LoadImageA and with
# Wine's, and requires the same width, height and pixels where both load and
# a refusal by both otherwise, except for the differences listed with their
# reasons in the expected-differences file. Every file of b/ must be refused
# by the simulation.
# usage: bmp_compare.sh SIM_PROBE WINE_PROBE_EXE SUITE_DIR DIFFERENCES_FILE WORK_DIR
set -u
sim_probe="$1" wine_probe="$2" suite="$3" differences="$4" work="$5"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../scripts/wine_env.sh"
trap wine_env_stop EXIT
mkdir -p "$work"
[ -d "$suite" ] || { echo "bmp_compare: no suite at $suite"; exit 1; }

names=$(cd "$suite" && find g q b x -name '*.[bB][mM][pP]' 2>/dev/null | sort)
"$sim_probe" "$suite" $names >"$work/sim.txt" || { echo "bmp_compare: the simulated probe failed"; exit 1; }
wine_env_start "$work" || exit 1
timeout 600 wine "$wine_probe" "$(wine_path "$suite")" $names 2>"$work/wine.err" | tr -d '\r' >"$work/wine.txt"
[ "$(wc -l <"$work/wine.txt")" = "$(wc -l <"$work/sim.txt")" ] || { echo "bmp_compare: the Wine probe failed (see $work/wine.err)"; exit 1; }

# One line per file: name and kind (same, both-refuse, sim-refuses, wine-blank, wine-refuses, size-differs, pixels-differ).
paste -d '\n' "$work/sim.txt" "$work/wine.txt" | awk '
    NR % 2 == 1 { sim = $0; next }
    {
        ns = split(sim, s, " "); nw = split($0, w, " ")
        if (s[2] == "refused" && w[2] == "refused") kind = "both-refuse"
        else if (w[2] == "refused") kind = "wine-refuses"
        else if (s[2] == "refused") {
            black = 1
            for (i = 4; i <= nw; i++) if (w[i] != "000000") { black = 0; break }
            kind = black ? "wine-blank" : "sim-refuses"
        } else if (s[2] != w[2] || s[3] != w[3]) kind = "size-differs"
        else kind = (sim == $0) ? "same" : "pixels-differ"
        print s[1], kind
    }' >"$work/kinds.txt"

awk -v listfile="$differences" '
    BEGIN {
        while ((getline line < listfile) > 0) {
            if (line ~ /^[ \t]*(#|$)/) continue
            split(line, f, /[ \t]+/)
            reason = line; sub(/^[^ \t]+[ \t]+[^ \t]+[ \t]+/, "", reason)
            listed[f[1]] = f[2]; why[f[1]] = reason
        }
    }
    {
        name = $1; kind = $2; files++
        if (name ~ /^b\// && kind != "both-refuse" && kind != "sim-refuses" && kind != "wine-blank") {
            print "FAIL " name ": a bad file the simulation does not refuse (" kind ")"; failed++
        }
        seen[name] = 1
        if (kind == "same" || kind == "both-refuse") {
            if (kind == "same") same++; else refused++
            if (name in listed) { print "FAIL " name ": listed as " listed[name] ", but now " kind; failed++ }
            next
        }
        if ((name in listed) && listed[name] == kind) { expected++; print "listed   " name ": " kind ": " why[name]; next }
        if (name in listed) print "FAIL " name ": " kind ", but listed as " listed[name]
        else print "FAIL " name ": " kind ", not listed in the expected differences"
        failed++
    }
    END {
        for (name in listed) {
            if (!(name in seen)) { print "FAIL " name ": listed but not in the suite"; failed++ }
        }
        printf "Bitmap suite against Wine: %d files, %d identical, %d refused by both, %d listed differences, %d failures\n",
            files, same, refused, expected, failed
        exit failed > 0
    }' "$work/kinds.txt"
