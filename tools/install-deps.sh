#!/usr/bin/env bash
# Installs the Debian 12 packages Kelvu needs, when some are missing.
#
#   install-deps.sh demo         building and running the programs
#   install-deps.sh test         the same, and what the display tests use
#   install-deps.sh --list WHAT  prints the package names only
#
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail

# Compiler, build tools, Qt; Liberation Serif stands in for Times New Roman
# on the cards; x11-utils has xmessage, which the display tests show; Qt's
# own dialogs and buttons speak Swedish with qt6-translations-l10n;
# rsvg-convert (librsvg2-bin) renders the icon; pkg-config finds the X client
# library (xcb) with which the programs speak to the window manager, and
# fontconfig, whose configuration the supervisor reads ahead.
demo_packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-liberation x11-utils qt6-translations-l10n librsvg2-bin pkgconf libxcb1-dev libfontconfig-dev)
# The display tests, in Python with pytest: a virtual X server, a window
# manager, the X protocol (python3-xlib: windows, properties, XTest input),
# screenshots and picture checks (python3-pil), typing text (xdotool),
# fc-match for the cards' font file and xmessage (x11-utils above) as another
# program's window; ImageMagick draws the demo pictures and the benchmarks'
# photo.
test_packages=(xvfb openbox xdotool python3-pytest python3-xlib python3-pil fontconfig imagemagick)
# The accessibility tests read the programs' accessible tree as a screen
# reader does: a private D-Bus session bus, the AT-SPI bus launcher and an
# AT-SPI client for Python.
test_packages+=(dbus at-spi2-core python3-gi gir1.2-atspi-2.0)
# The desktops the black screen is tried under: the window managers of Xfce,
# GNOME, KDE, MATE (whose marco needs the mouse settings' schema), the older
# GNOME's, and two with a taskbar or toolbar of their own; xrandr splits the
# virtual screen into two monitors.
test_packages+=(xfwm4 mutter kwin-x11 metacity marco mate-settings-daemon-common icewm fluxbox
    x11-xserver-utils)
# Exercises that are real programs of Debian's, one of each kind: a GTK text
# editor that runs one instance per user, a game in SDL 2 over the whole
# screen, a KDE program.
test_packages+=(mousepad lbreakouthd kbruch)
# The runner in a Plasma session on Wayland: KDE's compositor with XWayland,
# its screenshots taken over D-Bus from Python.
test_packages+=(kwin-wayland xwayland python3-dbus)
# The package: built with dpkg-buildpackage and debhelper, checked with
# lintian, blhc (the build log's hardening flags), hardening-check (in
# devscripts: the programs'), desktop-file-validate and appstreamcli, tested
# installed with autopkgtest; built twice, the second time with the clock
# moved (faketime), and compared with diffoscope where the two differ.
package_packages=(dpkg-dev debhelper lintian blhc devscripts desktop-file-utils appstream
    autopkgtest faketime diffoscope-minimal)
# The menu reader's fuzz target: clang with libFuzzer and the sanitizers.
test_packages+=(clang-14 libclang-rt-14-dev)
# The benchmarks in bench/ (KELVU_BENCHMARKS, on in the "ci" preset and in
# tools/bench.sh): Google Benchmark for the menu reader's throughput.
test_packages+=(libbenchmark-dev)

list=false
if [[ ${1:-} == --list ]]; then
    list=true
    shift
fi
case ${1:-} in
    demo) packages=("${demo_packages[@]}") ;;
    test) packages=("${demo_packages[@]}" "${test_packages[@]}" "${package_packages[@]}") ;;
    *)
        echo "usage: $0 [--list] demo|test" >&2
        exit 2
        ;;
esac

if $list; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
((EUID == 0)) || sudo=(sudo)
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
