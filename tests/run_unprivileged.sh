#!/usr/bin/env bash
# Runs test functions of a test program as an unprivileged user, whom a
# folder's permissions bind as they do not bind root. Run by root, the program
# is copied where any user can read it and runs as "nobody"; run by anyone
# else, it runs as that user.
#
#   run_unprivileged.sh PROGRAM [TEST FUNCTION]...
set -euo pipefail
if ((EUID != 0)); then exec "$@"; fi

nobody=$(id -u nobody)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvu-unprivileged.XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
program="$work/$(basename "$1")"
install -m 755 "$1" "$program"
shift
install -d -m 700 -o "$nobody" "$work/home"
echo "running $(basename "$program") as nobody"
status=0
setpriv --reuid="$nobody" --regid="$(id -g nobody)" --clear-groups \
    env HOME="$work/home" XDG_RUNTIME_DIR="$work/home" TMPDIR=/tmp "$program" "$@" || status=$?
exit "$status"
