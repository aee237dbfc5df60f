#!/usr/bin/env bash
# The Debian package as a distribution builds and checks it, from a clean copy
# of the committed tree (HEAD: uncommitted changes are not in it):
#
#  1. the source and binary packages with dpkg-buildpackage -us -uc, which
#     runs the widget tests; the build log checked with blhc and the programs
#     with hardening-check for Debian's hardening flags;
#  2. lintian --pedantic on the .changes: no error and no warning;
#  3. the package's files: what it must hold, its desktop entries
#     (desktop-file-validate) and its metainfo (appstreamcli), whose release is
#     the changelog's;
#  4. apt-get install of the package, as a user installs it;
#  5. autopkgtest against the built package on this machine (null): the
#     installed programs started from their desktop entries on a real display;
#  6. the same commit built again, later, in another folder, as another user,
#     in another time zone, with another umask and clock, without the tests:
#     every .deb, and the source tarball, must hold the first build's bytes
#     (diffoscope shows where not).
#
# The results and logs stay in build/package/. Installing needs root, or sudo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD

tools/install-deps.sh test

out=$repo/build/package
rm -rf "$out"
mkdir -p "$out"
sudo=()
((EUID == 0)) || sudo=(sudo)
jobs=$(nproc)

step_start=$SECONDS
step() {
    echo "== $1 (previous step: $((SECONDS - step_start)) s)"
    step_start=$SECONDS
}

# Both builds take this commit, even if HEAD moves meanwhile.
commit=$(git rev-parse HEAD)
echo "building commit $commit"

# export_head FOLDER: the commit, as committed, in FOLDER/kelvu.
export_head() {
    mkdir -p "$1"
    git -C "$repo" archive --prefix=kelvu/ "$commit" | tar -x -C "$1"
}

# build FOLDER [COMMAND...]: dpkg-buildpackage -us -uc in FOLDER/kelvu, run
# through COMMAND (env VARIABLE=VALUE ..., say). The packages land in FOLDER,
# the log in FOLDER/build.log.
build() {
    local folder=$1
    shift
    if ! (cd "$folder/kelvu" && "$@" dpkg-buildpackage -us -uc) >"$folder/build.log" 2>&1; then
        tail -n 60 "$folder/build.log" >&2
        echo "dpkg-buildpackage failed; the whole log is $folder/build.log" >&2
        exit 1
    fi
}

step "dpkg-buildpackage -us -uc"
first=$out/first
export_head "$first"
build "$first" env DEB_BUILD_OPTIONS="parallel=$jobs"
changes=$(echo "$first"/kelvu_*.changes)
version=$(dpkg-parsechangelog -l "$first/kelvu/debian/changelog" -S Version)
deb=$first/kelvu_${version}_$(dpkg --print-architecture).deb
[[ -f $changes && -f $deb ]] || { echo "missing: $changes or $deb" >&2; exit 1; }
dcmd ls -l "$changes"
dpkg-deb --info "$deb"

step "blhc on the build log"
blhc --all --debian "$first/build.log"
echo "all compiler and linker lines carry the hardening flags"

step "hardening-check of the programs"
unpacked=$out/unpacked
dpkg-deb --extract "$deb" "$unpacked"
# PIE, stack protector, read-only relocations and immediate binding. Not the
# fortified calls: blhc saw -D_FORTIFY_SOURCE=2 on every compile line, and the
# programs' few fortifiable calls take sizes known only at run time (see
# debian/kelvu.lintian-overrides); nor control flow protection, which is not
# among Debian 12's hardening flags.
hardening-check --nofortify --nocfprotection "$unpacked"/usr/bin/kelvu "$unpacked"/usr/bin/kelvuadm \
    "$unpacked"/usr/libexec/kelvu/kelvu-ovning

step "lintian --pedantic"
# Every tag is shown, info and pedantic ones too, with its explanation; an
# error or a warning fails. The overrides, each with its reason, are in
# debian/source/lintian-overrides and debian/kelvu.lintian-overrides.
lintian --pedantic --display-info --info --fail-on error,warning "$changes"

step "the package's files"
for path in usr/bin/kelvu usr/bin/kelvuadm usr/libexec/kelvu/kelvu-start \
    usr/libexec/kelvu/kelvu-ovning usr/share/metainfo/org.kelvu.Kelvu.metainfo.xml \
    usr/share/applications/org.kelvu.Kelvu.desktop usr/share/applications/org.kelvu.Kelvuadm.desktop \
    usr/share/icons/hicolor/scalable/apps/org.kelvu.Kelvu.svg \
    usr/share/man/man1/kelvu.1.gz usr/share/man/man1/kelvuadm.1.gz \
    usr/share/doc/kelvu/copyright usr/share/doc/kelvu/changelog.gz \
    usr/share/kelvu/demo/bilder/stjarna.bmp usr/share/kelvu/kort/{1..9}num.bmp \
    usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/org.kelvu.Kelvu.png; do
    [[ -f $unpacked/$path ]] || { echo "the package lacks /$path" >&2; exit 1; }
done
echo "every program, entry, icon, page and picture is there"
for entry in "$unpacked"/usr/share/applications/*.desktop; do
    report=$(desktop-file-validate "$entry" 2>&1) || { echo "$report" >&2; exit 1; }
    # Warnings and hints do not fail the command; they fail this check.
    if [[ -n $report ]]; then
        echo "$report" >&2
        exit 1
    fi
    echo "$(basename "$entry"): valid"
done
metainfo=$unpacked/usr/share/metainfo/org.kelvu.Kelvu.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo"
# The software centres show the metainfo's newest release: the changelog's.
released=$(date -u -d "@$(dpkg-parsechangelog -l "$first/kelvu/debian/changelog" -S Timestamp)" +%F)
grep -q "<release version=\"$version\" date=\"$released\"/>" "$metainfo" || {
    echo "the metainfo's release is not $version of $released:" >&2
    grep "<release " "$metainfo" >&2
    exit 1
}
echo "the metainfo's release is $version of $released, as in the changelog"

step "apt-get install"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb"

step "autopkgtest -- null"
"${sudo[@]}" autopkgtest --output-dir "$out/autopkgtest" "$changes" -- null

step "a second build of the same commit"
# Another folder (of another length), a clock a year and more ahead, another
# time zone, umask and locale, another user when this runs as root (nobody, as
# a build daemon builds without root), and the tests left out.
second=$(mktemp -d "${TMPDIR:-/tmp}/kelvu-second-build.XXXXXX")
trap 'rm -rf "$second"' EXIT
export_head "$second/elsewhere"
builder=()
if ((EUID == 0)); then
    chown -R nobody "$second"
    builder=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
(umask 0002 && build "$second/elsewhere" "${builder[@]}" env HOME="$second" \
    TZ=UTC-14 LC_ALL=C DEB_BUILD_OPTIONS="nocheck parallel=$jobs" faketime -f +400d)

step "the two builds compared"
mkdir "$out/second"
cp "$second"/elsewhere/build.log "$second"/elsewhere/*.buildinfo "$out/second/"
# The second build's record shows that it ran as told: with the clock ahead,
# in the C locale, without the tests, as nobody when this runs as root.
record=$out/second/$(basename "$first"/*.buildinfo)
build_date() { date -d "$(sed -n 's/^Build-Date: //p' "$1")" +%s; }
days=$((($(build_date "$record") - $(build_date "$first"/*.buildinfo)) / 86400))
((days >= 399)) || { echo "the second build ran only $days days after the first" >&2; exit 1; }
grep -qx ' LC_ALL="C"' "$record" && grep -q '^ DEB_BUILD_OPTIONS="nocheck' "$record" || {
    echo "the second build's environment is not the one asked for:" >&2
    sed -n '/^Environment:/,$p' "$record" >&2
    exit 1
}
builder_name=$(stat -c %U "$second"/elsewhere/*.changes)
((EUID != 0)) || [[ $builder_name == nobody ]] || {
    echo "the second build ran as $builder_name, not as nobody" >&2
    exit 1
}
echo "the second build ran $days days later, in $second/elsewhere, as $builder_name"
different=()
# The packages, and the source tarball too.
for package in "$first"/*.deb "$first"/*.tar.xz; do
    name=$(basename "$package")
    again=$second/elsewhere/$name
    [[ -f $again ]] || { echo "the second build made no $name" >&2; exit 1; }
    sha256sum "$package" "$again"
    cmp -s "$package" "$again" || different+=("$name")
done
[[ $(find "$second/elsewhere" -maxdepth 1 -name '*.deb' | wc -l) == \
   $(find "$first" -maxdepth 1 -name '*.deb' | wc -l) ]] || {
    echo "the second build made other packages:" "$second"/elsewhere/*.deb >&2
    exit 1
}
if ((${#different[@]})); then
    for name in "${different[@]}"; do
        diffoscope --text "$out/$name.diffoscope.txt" "$first/$name" "$second/elsewhere/$name" || true
        head -n 80 "$out/$name.diffoscope.txt" >&2
    done
    echo "not reproducible: ${different[*]} (diffoscope's reports are in $out)" >&2
    exit 1
fi
echo "both builds made the same bytes"
step "done"
