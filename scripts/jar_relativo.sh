#!/usr/bin/env bash
# Usage: jar_relativo.sh JAR COPIA PASTA
# Copies the viewer's JAR to COPIA, the libraries on its manifest's Class-Path named relative to
# PASTA, the folder the copy will run from. Java's class-data sharing maps a library's classes only
# when the manifest names it that way (an absolute entry is read as relative to the jar, and not
# found), so the installed viewer's archive then holds PDFBox's and the driver's classes too.
set -euo pipefail
[[ $# -eq 3 ]] || { echo "usage: $0 JAR COPIA PASTA" >&2; exit 2; }
jar=$1 copia=$2 pasta=$3
libs=$(unzip -p "$jar" META-INF/MANIFEST.MF | tr -d '\r' |
    sed -n '/^Class-Path:/,/^[^ ]/{s/^Class-Path: //;s/^ //;/^[A-Z][A-Za-z-]*:/d;p}' | tr -d '\n')
[[ -n $libs ]] || { echo "jar_relativo: no Class-Path in $jar" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
primeira=1
for l in $libs; do
    # -s: the link's own name (/usr/share/java/pdfbox2.jar), which survives the library's upgrades.
    r=$(realpath -s -m --relative-to="$pasta" "$l")
    # One entry per line: a manifest line holds at most 72 bytes; a continuation starts with a blank.
    if ((primeira)); then printf 'Class-Path: %s\n' "$r"; else printf '  %s\n' "$r"; fi
    primeira=0
done >"$tmp/manifesto"
cp "$jar" "$tmp/copia.jar"
jar --update --file "$tmp/copia.jar" --manifest "$tmp/manifesto"
mv -f "$tmp/copia.jar" "$copia"
