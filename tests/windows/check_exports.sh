#!/usr/bin/env bash
# The DLL of both Windows builds exports exactly SetClockOnTray, RepaintClock
# and KillHooks, undecorated; the 32-bit ones pop their own arguments
# (stdcall: 16, 0 and 4 bytes); neither needs a MinGW runtime DLL.
# usage: check_exports.sh MINGW_I686_BUILD MINGW_X64_BUILD
set -u
i686="$1/dialwick.dll" x64="$2/dialwick.dll"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

exports() {  # objdump -> export names, one per line
    "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort
}

for pair in "i686-w64-mingw32-objdump:$i686" "x86_64-w64-mingw32-objdump:$x64"; do
    tool="${pair%%:*}" dll="${pair#*:}"
    [ -f "$dll" ] || { fail "$dll is missing (build the mingw presets first)"; continue; }
    got=$(exports "$tool" "$dll" | tr '\n' ' ')
    [ "$got" = "KillHooks RepaintClock SetClockOnTray " ] || fail "$dll exports: $got"
    deps=$("$tool" -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
    case "$deps" in
        *libgcc*|*libstdc++*|*libwinpthread*) fail "$dll needs a MinGW runtime DLL: $deps" ;;
    esac
done

# The first return of each export's body: "ret $0x10" pops 16 bytes of arguments.
pops() {
    i686-w64-mingw32-objdump -d "$i686" | awk -v f="<_$1>:" '$0 ~ f {on=1} on && /\tret/ {print $NF; exit}'
}
[ "$(pops SetClockOnTray@16)" = '$0x10' ] || fail "SetClockOnTray does not pop 16 bytes: $(pops SetClockOnTray@16)"
[ "$(pops KillHooks@4)" = '$0x4' ] || fail "KillHooks does not pop 4 bytes: $(pops KillHooks@4)"
[ "$(pops RepaintClock@0)" = 'ret' ] || fail "RepaintClock pops arguments: $(pops RepaintClock@0)"

[ "$failed" = 0 ] && echo "exports: both DLLs export exactly SetClockOnTray, RepaintClock, KillHooks; i686 is stdcall"
exit "$failed"
