#!/usr/bin/env bash
# Installs what is needed (Debian 12), builds, installs into
# build/install-prefix and opens the programs on the bundled demo menu.
#
#   tools/demo.sh             the supervisor's program first, then the
#                             learner's program
#   tools/demo.sh runner      only the learner's program "kelvu"
#   tools/demo.sh supervisor  only the supervisor's program "kelvuadm"
#
# The demo folder is made anew in build/demo at each run (tools/demo-menu.sh).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
which=${1:-both}
case $which in
    both | runner | supervisor) ;;
    *)
        echo "usage: $0 [runner|supervisor]" >&2
        exit 2
        ;;
esac

tools/install-deps.sh demo
cmake --preset default
cmake --build --preset default
prefix=$repo/build/install-prefix
cmake --install build --prefix "$prefix"

demo=$repo/build/demo
rm -rf "$demo"
tools/demo-menu.sh "$demo"

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "Built and installed into $prefix, but there is no display to open the programs on." >&2
    exit 1
fi

cd "$demo"
# The demo's exercises start the exercise program installed beside the launcher.
export PATH="$prefix/libexec/kelvu:$PATH"
if [[ $which != runner ]]; then
    echo "Starting kelvuadm in $demo; press OK to save the menu, or Avbryt."
    "$prefix/bin/kelvuadm" || true
fi
if [[ $which != supervisor ]]; then
    echo "Starting kelvu in $demo; click the cards in order, then the star."
    "$prefix/bin/kelvu"
fi
