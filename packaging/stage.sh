#!/usr/bin/env bash
# Lays out the two portable folders the zips and the installer are made of:
#   DEST/win64/ and DEST/win32/, each dialwick.exe, dialwick.dll, skins\,
#   README.txt and LICENSE.txt, the text files with Windows line ends;
#   DEST/uninstall-files.nsh, the uninstaller's list of the shipped files;
#   DEST/payload-sizes.nsh, the size of each folder in KiB.
# usage: packaging/stage.sh MINGW_X64_DIR MINGW_I686_DIR DEST
set -euo pipefail
x64="$1" i686="$2" dest="$3"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
version="$(cat "$x64/version.txt")"
[ "$version" = "$(cat "$i686/version.txt")" ] || { echo "stage: the two builds have different versions"; exit 1; }

crlf() { sed 's/\r*$/\r/'; }

stage() {  # build-dir folder arch-name windows-name object-format
    local build="$1" out="$dest/$2" f
    for f in dialwick.exe dialwick.dll; do
        [ -f "$build/$f" ] || { echo "stage: $build/$f is missing (build the release presets first)"; exit 1; }
        # A library of the wrong architecture would never be mapped into Explorer.
        x86_64-w64-mingw32-objdump -f "$build/$f" | grep -q "file format $5" ||
            { echo "stage: $build/$f is not $5"; exit 1; }
    done
    rm -rf "$out"
    mkdir -p "$out/skins"
    cp "$build/dialwick.exe" "$build/dialwick.dll" "$out/"
    cp -r "$source_dir/skins/." "$out/skins/"
    sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$3/" -e "s/@WINDOWS@/$4/" "$source_dir/packaging/README.txt" |
        crlf >"$out/README.txt"
    crlf <"$source_dir/LICENSE" >"$out/LICENSE.txt"
}

mkdir -p "$dest"
stage "$x64" win64 "64-bit" "64-bit Windows" pei-x86-64
stage "$i686" win32 "32-bit" "32-bit Windows" pei-i386

# The uninstaller removes exactly what was shipped, so skins a user added
# to the skins folder stay.
{
    echo "; Made by packaging/stage.sh: the files the installer puts in place."
    (cd "$dest/win64" && find . -type f | sed 's|^\./||' | sort) | while read -r f; do
        printf 'Delete /REBOOTOK "$INSTDIR\\%s"\n' "${f//\//\\}"
    done
    (cd "$dest/win64" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r d; do
        printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"
    done
} >"$dest/uninstall-files.nsh"
# The installer carries both folders but puts one in place: it shows that one's size.
kib() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print int((n + 1023) / 1024) }'; }
printf '!define SIZE_WIN64 %s\n!define SIZE_WIN32 %s\n' "$(kib "$dest/win64")" "$(kib "$dest/win32")" >"$dest/payload-sizes.nsh"
echo "$version" >"$dest/version.txt"
