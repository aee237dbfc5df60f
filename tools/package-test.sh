#!/usr/bin/env bash
# The Debian package from end to end: builds kelvu_<version>_<arch>.deb from
# the build folder with CPack, checks it with lintian, its desktop entries with
# desktop-file-validate and its metainfo with appstreamcli, installs it with
# apt-get, and runs the real-display end-to-end test against the installed
# /usr/bin/kelvuadm and /usr/bin/kelvu, started as their desktop entries start
# them (through the launcher, in ~/Kelvu of a fresh home folder).
#
# Run after tools/test.sh (it reuses the build). Installing the package needs
# root, or sudo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

tools/install-deps.sh test
[[ -f build/CMakeCache.txt ]] || cmake --preset ci
cmake --build build

rm -f build/kelvu_*.deb
(cd build && cpack -G DEB)
debs=(build/kelvu_*.deb)
((${#debs[@]} == 1)) || { echo "expected one package, found: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
echo "== $deb"
dpkg-deb --info "$deb"

echo "== lintian"
lintian --fail-on error "$deb"

# The package's own files, unpacked, for the entry and metainfo checks.
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/kelvu-package.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
echo "== desktop-file-validate"
for entry in "$unpacked"/usr/share/applications/*.desktop; do
    report=$(desktop-file-validate "$entry" 2>&1) || { echo "$report" >&2; exit 1; }
    # Warnings and hints do not fail the command; they fail this check.
    if [[ -n $report ]]; then
        echo "$report" >&2
        exit 1
    fi
    echo "$(basename "$entry"): valid"
done
echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/*.metainfo.xml

echo "== apt-get install"
sudo=()
((EUID == 0)) || sudo=(sudo)
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "./$deb"

echo "== end-to-end test of the installed package"
artifacts=$repo/build/tests/display/artifacts
KELVU_PREFIX=/usr KELVU_DISPLAY_ARTIFACTS=$artifacts PYTHONDONTWRITEBYTECODE=1 \
    /usr/bin/python3 -m pytest -p no:cacheprovider -q -rs tests/display/test_end_to_end.py \
    -k desktop-entry
