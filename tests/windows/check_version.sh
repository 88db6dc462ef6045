#!/usr/bin/env bash
# dialwick.exe and dialwick.dll of both Windows builds carry a version
# resource with the project's version, and dialwick.exe shows the same.
# usage: check_version.sh MINGW_I686_BUILD MINGW_X64_BUILD
set -u
failed=0
fail() { echo "FAIL: $*"; failed=1; }

for pair in "i686-w64-mingw32-windres:$1" "x86_64-w64-mingw32-windres:$2"; do
    tool="${pair%%:*}" build="${pair#*:}"
    version="$(cat "$build/version.txt" 2>/dev/null)"
    [ -n "$version" ] || { fail "$build/version.txt is missing (configure the mingw presets first)"; continue; }
    numbers="${version//./, }, 0"
    for f in dialwick.exe dialwick.dll; do
        [ -f "$build/$f" ] || { fail "$build/$f is missing"; continue; }
        rc="$("$tool" -i "$build/$f" -O rc 2>&1)"
        grep -q "^ FILEVERSION $numbers\$" <<<"$rc" || fail "$build/$f: no FILEVERSION $numbers"
        grep -q "^ PRODUCTVERSION $numbers\$" <<<"$rc" || fail "$build/$f: no PRODUCTVERSION $numbers"
        grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$rc" || fail "$build/$f: no FileVersion $version"
        grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$rc" || fail "$build/$f: no ProductVersion $version"
        grep -q "VALUE \"OriginalFilename\", \"$f\"" <<<"$rc" || fail "$build/$f: OriginalFilename is not $f"
    done
done
[ "$failed" = 0 ] && echo "version resources: ok"
exit "$failed"
