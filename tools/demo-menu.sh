#!/usr/bin/env bash
# Makes a demo folder: a copy of demo/ (three exercises, the card pictures,
# the reward picture) and its menu kelvu.ini, written as the supervisor
# writes it (UTF-8, CR LF) with the folder's absolute path.
#
#   tools/demo-menu.sh FOLDER [PICTURE]   PICTURE: the reward picture's file
#                                         name in FOLDER/bilder instead of
#                                         stjarna.bmp
# FOLDER must not exist yet.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if (($# < 1 || $# > 2)); then
    echo "usage: $0 FOLDER [PICTURE]" >&2
    exit 2
fi
picture=${2:-stjarna.bmp}
if [[ -e $1 ]]; then
    echo "$1 exists already; the demo goes into a new folder." >&2
    exit 1
fi
if [[ $1$picture == *'"'* ]]; then
    echo "A quotation mark in \"$1\" or \"$picture\" cannot be stored in a menu." >&2
    exit 1
fi
cp -r "$repo/demo" "$1"
folder=$(cd "$1" && pwd)
rm -f "$folder/kelvu.ini.in" "$folder/.gitattributes"
# The template's lines end in CR LF; read keeps the CR, so they stay.
while IFS= read -r line; do
    line=${line//@DEMO@/"$folder"}
    printf '%s\n' "${line//stjarna.bmp/"$picture"}"
done <"$repo/demo/kelvu.ini.in" >"$folder/kelvu.ini"
