# Helpers for tests that drive the installed Kelvu programs on a real X
# display: a private Xvfb server with the openbox window manager, programs
# started with their exit status recorded, waits that poll a condition until a
# deadline, screenshots, pixel checks, mouse clicks and menu files.
#
# Source this file from a bash script that runs under `set -euo pipefail`,
# then call kd_init first. Every process started through kd_start is ended
# when the script exits; on failure the screenshots and logs are kept in
# $KELVU_DISPLAY_ARTIFACTS/<test name> (default ./display-artifacts).
#
# Environment:
#   KELVU_PREFIX              install prefix holding bin/kelvu, bin/kelvuadm
#   KELVU_START               "desktop": kd_launch_command starts the programs
#                             as their installed desktop entries do
#   KELVU_DISPLAY_ARTIFACTS   where a failing test leaves its screenshots
#   KD_TIMEOUT                seconds a single wait may take (default 20)
#   CI                        "true": missing tools fail the test instead of
#                             skipping it

# Exit status that CTest reports as "skipped" (SKIP_RETURN_CODE).
readonly KD_SKIP_STATUS=77

KD_SCREEN_WIDTH=1280
KD_SCREEN_HEIGHT=1024
KD_TIMEOUT=${KD_TIMEOUT:-20}

KD_NAME=
KD_WORK=
KD_ARTIFACTS=
KD_FAILURES=0
KD_PASSES=0
KD_SHOT=      # raw RGB file of the latest screenshot
KD_SHOT_PNG=  # the same screenshot as PNG
KD_SHOT_COUNT=0
KD_STARTED=() # names of the processes started by kd_start, in order
declare -A KD_PID=()

# The programs run on X at their natural size.
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI

# Colours the checks look for, as "R G B".
readonly BLACK="0 0 0"
readonly YELLOW="255 255 128"  # the programs' window background
readonly MAGENTA="255 0 255"   # the reward pictures the tests make
# The bare screen: anything but black, so that black means the backdrop.
readonly DESKTOP="0 96 0"

kd_log() { printf '%s\n' "$*"; }

kd_pass() {
    KD_PASSES=$((KD_PASSES + 1))
    printf 'ok: %s\n' "$*"
}

# Records a failed check; the test goes on and fails at kd_finish.
kd_fail() {
    KD_FAILURES=$((KD_FAILURES + 1))
    printf 'FAIL: %s\n' "$*" >&2
}

# A failure after which the test cannot go on.
kd_die() {
    kd_fail "$*"
    exit 1
}

# kd_check DESCRIPTION COMMAND...: passes when the command succeeds.
kd_check() {
    local what=$1
    shift
    if "$@"; then kd_pass "$what"; else kd_fail "$what"; fi
}

# Microseconds since the epoch.
kd_now() { local t=$EPOCHREALTIME; echo "${t/[.,]/}"; }

# kd_wait_until SECONDS COMMAND...: runs the command every 50 ms until it
# succeeds (status 0) or the deadline passes (status 1).
kd_wait_until() {
    local seconds=$1
    shift
    local deadline=$(($(kd_now) + ${seconds%.*} * 1000000))
    while true; do
        if "$@"; then return 0; fi
        (($(kd_now) < deadline)) || return 1
        sleep 0.05
    done
}

# kd_init NAME: makes the private work folder and arranges the cleanup.
kd_init() {
    KD_NAME=$1
    KD_WORK=$(mktemp -d "${TMPDIR:-/tmp}/kelvu-display.XXXXXX")
    mkdir -p "$KD_WORK/shots" "$KD_WORK/logs"
    mkdir -m 700 "$KD_WORK/runtime"
    KD_ARTIFACTS="${KELVU_DISPLAY_ARTIFACTS:-$PWD/display-artifacts}/$KD_NAME"
    rm -rf "$KD_ARTIFACTS"
    # Qt wants a private runtime folder; without one it warns on every start.
    export XDG_RUNTIME_DIR="$KD_WORK/runtime"
    trap kd_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# kd_require_tools TOOL...: without the tools the test cannot run. In CI that
# is a failure; on a developer's machine the test is skipped.
kd_require_tools() {
    local missing=() tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    ((${#missing[@]} == 0)) && return 0
    if [[ ${CI:-} == true ]]; then
        kd_die "missing tools: ${missing[*]} (install them, see .ci/run)"
    fi
    kd_log "SKIP: missing tools: ${missing[*]}"
    exit "$KD_SKIP_STATUS"
}

# kd_program NAME: the path of an installed program, or a failure.
kd_program() {
    local path="${KELVU_PREFIX:?KELVU_PREFIX must name the install prefix}/bin/$1"
    [[ -x $path ]] || kd_die "installed program $path not found (run cmake --install first)"
    echo "$path"
}

# kd_launch_command NAME: the command that starts the installed program NAME
# (kelvu or kelvuadm), in the array KD_COMMAND. With KELVU_START=desktop it is
# the Exec line of the program's installed desktop entry, which runs the
# launcher: the program then starts in $HOME/Kelvu, whatever folder it is
# started from. Otherwise it is the program itself.
kd_launch_command() {
    local program
    program=$(kd_program "$1")
    if [[ ${KELVU_START:-} != desktop ]]; then
        KD_COMMAND=("$program")
        return 0
    fi
    local id=org.kelvu.Kelvu
    [[ $1 == kelvuadm ]] && id=org.kelvu.Kelvuadm
    local entry="$KELVU_PREFIX/share/applications/$id.desktop" exec
    [[ -f $entry ]] || kd_die "installed desktop entry $entry not found"
    exec=$(sed -n 's/^Exec=//p' "$entry")
    [[ -n $exec ]] || kd_die "the desktop entry $entry has no Exec line"
    read -r -a KD_COMMAND <<<"$exec"
}

# kd_start NAME FOLDER COMMAND...: starts the command in the folder, output
# in logs/NAME.log. KD_PID[NAME] is its process id; its exit status is
# written to NAME.status when it ends.
kd_start() {
    local name=$1 folder=$2
    shift 2
    local pidfile="$KD_WORK/$name.pid"
    rm -f "$pidfile" "$KD_WORK/$name.status"
    (
        cd "$folder"
        "$@" >"$KD_WORK/logs/$name.log" 2>&1 &
        child=$!
        echo "$child" >"$pidfile"
        status=0
        wait "$child" || status=$?
        echo "$status" >"$KD_WORK/$name.status.tmp"
        mv "$KD_WORK/$name.status.tmp" "$KD_WORK/$name.status"
    ) &
    kd_wait_until 10 test -s "$pidfile" || kd_die "could not start $name"
    KD_PID[$name]=$(<"$pidfile")
    KD_STARTED+=("$name")
}

# kd_running NAME: whether the process has not ended yet.
kd_running() { [[ ! -e $KD_WORK/$1.status ]]; }

# kd_wait_exit NAME SECONDS: waits until the process ends; KD_STATUS is its
# exit status. Returns 1 when it is still running at the deadline.
kd_wait_exit() {
    KD_STATUS=
    kd_wait_until "$2" test -e "$KD_WORK/$1.status" || return 1
    KD_STATUS=$(<"$KD_WORK/$1.status")
}

# kd_stop NAME: ends a process that is still running, politely first.
kd_stop() {
    local name=$1 pid=${KD_PID[$1]:-}
    [[ -n $pid ]] || return 0
    if kd_running "$name"; then
        kill -TERM "$pid" 2>/dev/null || true
        if ! kd_wait_until 5 test -e "$KD_WORK/$name.status"; then
            kill -KILL "$pid" 2>/dev/null || true
            kd_wait_until 5 test -e "$KD_WORK/$name.status" || true
        fi
    fi
}

kd_cleanup() {
    local status=$?
    set +e
    trap - EXIT INT TERM
    local i
    for ((i = ${#KD_STARTED[@]} - 1; i >= 0; i--)); do
        kd_stop "${KD_STARTED[i]}"
    done
    wait 2>/dev/null
    if ((status == 0 && KD_FAILURES > 0)); then status=1; fi
    if ((status != 0 && status != KD_SKIP_STATUS)) && [[ -n $KD_WORK ]]; then
        mkdir -p "$KD_ARTIFACTS"
        cp -r "$KD_WORK/shots" "$KD_WORK/logs" "$KD_ARTIFACTS/" 2>/dev/null
        printf 'Screenshots and logs of the failed test are in %s\n' "$KD_ARTIFACTS" >&2
    fi
    [[ -n $KD_WORK ]] && rm -rf "$KD_WORK"
    exit "$status"
}

# kd_finish: prints the count of checks and ends the test.
kd_finish() {
    printf '%s: %d passed, %d failed\n' "$KD_NAME" "$KD_PASSES" "$KD_FAILURES"
    ((KD_FAILURES == 0)) || exit 1
    exit 0
}

# --- display and window manager -------------------------------------------

kd_display_answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# kd_start_display: starts Xvfb on a free display number and exports
# DISPLAY. A number is taken only when the server that answers on it is ours
# (its lock file names our process), so parallel tests cannot share one.
kd_start_display() {
    local attempt n lockpid
    for ((attempt = 0; attempt < 100; attempt++)); do
        n=$((100 + ($$ + attempt) % 400))
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        # -noreset: without it the server resets when its last client
        # leaves (the xdpyinfo probe below), refusing connections meanwhile.
        kd_start xvfb "$KD_WORK" Xvfb ":$n" -screen 0 \
            "${KD_SCREEN_WIDTH}x${KD_SCREEN_HEIGHT}x24" -nolisten tcp -noreset
        if kd_wait_until "$KD_TIMEOUT" kd_xvfb_up "$n"; then
            lockpid=
            read -r lockpid <"/tmp/.X$n-lock" || true
            if [[ $lockpid == "${KD_PID[xvfb]}" ]] && kd_running xvfb; then
                export DISPLAY=":$n"
                kd_log "display $DISPLAY is up"
                return 0
            fi
        fi
        kd_stop xvfb
        mv "$KD_WORK/logs/xvfb.log" "$KD_WORK/logs/xvfb-$n.log" 2>/dev/null || true
    done
    kd_die "could not start Xvfb on any free display number"
}

# The server answers, or it has ended (then the caller tries another number).
kd_xvfb_up() { ! kd_running xvfb || kd_display_answers ":$1"; }

kd_wm_answers() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# kd_start_wm: starts openbox and waits until it manages the screen.
kd_start_wm() {
    kd_start openbox "$KD_WORK" openbox --sm-disable
    kd_wait_until "$KD_TIMEOUT" kd_wm_answers || kd_die "openbox did not start"
    kd_running openbox || kd_die "openbox ended at once"
    kd_log "openbox is running"
}

# kd_paint_root "R G B": gives the bare screen a colour of its own, so that a
# screenshot tells the program's black backdrop from an empty screen.
kd_paint_root() {
    local r g b
    read -r r g b <<<"$1"
    convert -size 8x8 "xc:rgb($r,$g,$b)" "$KD_WORK/root.png"
    # display returns non-zero after setting the background; the screenshot
    # below is what tells whether it worked.
    display -window root "$KD_WORK/root.png" >/dev/null 2>&1 || true
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is 0 0 "$1" ||
        kd_die "could not paint the screen rgb($r,$g,$b)"
}

# --- screenshots and pixels -----------------------------------------------

# kd_screenshot [LABEL]: takes a screenshot of the whole screen; KD_SHOT_PNG
# is the picture, KD_SHOT its raw RGB bytes for kd_pixel. Screenshots are
# numbered in the order taken; those of polling waits (label "poll") replace
# one another, so the last one shows the screen when a wait gave up.
kd_screenshot() {
    local label=${1:-shot} png
    if [[ $label == poll ]]; then
        png="$KD_WORK/shots/last-poll.png"
    else
        KD_SHOT_COUNT=$((KD_SHOT_COUNT + 1))
        png=$(printf '%s/shots/%03d-%s.png' "$KD_WORK" "$KD_SHOT_COUNT" "$label")
    fi
    import -window root "$png" 2>>"$KD_WORK/logs/import.log" || return 1
    convert "$png" -depth 8 "rgb:$KD_WORK/shot.rgb" || return 1
    KD_SHOT_PNG=$png
    KD_SHOT="$KD_WORK/shot.rgb"
}

# kd_pixel X Y: "R G B" of a screen pixel in the latest screenshot.
kd_pixel() {
    local offset=$((($2 * KD_SCREEN_WIDTH + $1) * 3))
    od -An -tu1 -j "$offset" -N3 "$KD_SHOT" | awk '{print $1, $2, $3}'
}

kd_pixel_is() { [[ $(kd_pixel "$1" "$2") == "$3" ]]; }

# A fresh screenshot shows the colour "R G B" at X Y.
kd_shot_pixel_is() { kd_screenshot poll && kd_pixel_is "$1" "$2" "$3"; }
# A fresh screenshot shows another colour than "R G B" at X Y.
kd_shot_pixel_is_not() { kd_screenshot poll && ! kd_pixel_is "$1" "$2" "$3"; }

# kd_wait_pixel SECONDS X Y "R G B": waits until the screen shows the colour.
kd_wait_pixel() { kd_wait_until "$1" kd_shot_pixel_is "$2" "$3" "$4"; }

# kd_expect_pixel DESCRIPTION X Y "R G B": checks the latest screenshot.
kd_expect_pixel() {
    local actual
    actual=$(kd_pixel "$2" "$3")
    if [[ $actual == "$4" ]]; then
        kd_pass "$1"
    else
        kd_fail "$1: pixel ($2,$3) is rgb($actual), expected rgb($4)"
    fi
}

# kd_expect_not_pixel DESCRIPTION X Y "R G B": the pixel has another colour.
kd_expect_not_pixel() {
    local actual
    actual=$(kd_pixel "$2" "$3")
    if [[ $actual != "$4" ]]; then
        kd_pass "$1"
    else
        kd_fail "$1: pixel ($2,$3) is rgb($actual)"
    fi
}

# kd_fraction X Y W H FX: the mean of an ImageMagick fx expression over a
# rectangle of the latest screenshot, from 0 to 1.
kd_fraction() {
    convert "$KD_SHOT_PNG" -crop "$3x$4+$1+$2" +repage -fx "$5" -format '%[fx:mean]' info:
}

# kd_crop X Y W H OUT: saves a rectangle of the latest screenshot.
kd_crop() { convert "$KD_SHOT_PNG" -crop "$3x$4+$1+$2" +repage "$5"; }

# kd_text_lines X Y W H: finds lines of dark text in a rectangle of the latest
# screenshot. Prints one line per text line: the screen row of its middle and
# the screen column of its first dark pixel.
kd_text_lines() {
    local x=$1 y=$2 w=$3 h=$4
    convert "$KD_SHOT_PNG" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -depth 8 gray:- |
        od -An -v -tu1 -w"$w" |
        awk -v x0="$x" -v y0="$y" '
            { first = -1
              for (i = 1; i <= NF; i++) if ($i < 100) { first = i - 1; break }
              if (first >= 0) {
                  if (top < 0) { top = NR - 1; left = first }
                  if (first < left) left = first
                  bottom = NR - 1
              } else if (top >= 0) {
                  print y0 + int((top + bottom) / 2), x0 + left
                  top = -1
              } }
            BEGIN { top = -1 }
            END { if (top >= 0) print y0 + int((top + bottom) / 2), x0 + left }'
}

# kd_face_digit X Y W H: the digit, 1 to 9, that the dark glyph in a rectangle
# of the latest screenshot shows, or nothing. The glyph, cut to its bounds, is
# compared pixel by pixel with each digit as ImageMagick draws it in the font
# fontconfig gives for "Times New Roman" (the cards' font); the closest wins.
kd_face_digit() {
    local fit=(-colorspace Gray -threshold 50% -trim +repage -resize '32x48!' -depth 8 gray:-)
    local digits=$KD_WORK/digits.txt font d
    if [[ ! -s $digits ]]; then
        font=$(fc-match -f '%{file}' 'Times New Roman') || return 1
        for d in 1 2 3 4 5 6 7 8 9; do
            printf '%s %s\n' "$d" "$(convert -background white -fill black -font "$font" \
                -pointsize 100 "label:$d" "${fit[@]}" | od -An -v -tu1 | tr -s ' \n' ' ')"
        done >"$digits.tmp" && mv "$digits.tmp" "$digits"
    fi
    # A face without a dark pixel shows no digit.
    [[ $(convert "$KD_SHOT_PNG" -crop "$3x$4+$1+$2" +repage -colorspace Gray -threshold 50% \
        -format '%[fx:minima]' info:) == 0 ]] || return 0
    convert "$KD_SHOT_PNG" -crop "$3x$4+$1+$2" +repage "${fit[@]}" | od -An -v -tu1 |
        tr -s ' \n' ' ' | awk '
            NR == FNR { split($0, g, " "); next }
            { diff = 0
              for (i = 2; i <= NF; i++) diff += ($i < 128) != (g[i - 1] < 128)
              if (best == "" || diff < least) { least = diff; best = $1 } }
            END { print best }' - "$digits"
}

# --- windows and input ----------------------------------------------------

# kd_find_window NAME TITLE: the visible windows of the process whose title
# is TITLE exactly.
kd_find_window() {
    xdotool search --all --onlyvisible --pid "${KD_PID[$1]}" --name "^$2\$" 2>/dev/null
}

kd_has_window() { [[ -n $(kd_find_window "$1" "$2") ]]; }

# kd_wait_window NAME TITLE: waits until the process shows a window with the
# title; KD_WINDOW is its id.
kd_wait_window() {
    KD_WINDOW=
    kd_wait_until "$KD_TIMEOUT" kd_has_window "$1" "$2" || return 1
    KD_WINDOW=$(kd_find_window "$1" "$2" | head -n1)
}

# kd_windows NAME: all visible windows of the process.
kd_windows() { xdotool search --onlyvisible --pid "${KD_PID[$1]}" 2>/dev/null || true; }

# kd_geometry WINDOW: KD_X KD_Y (screen position of the client area, without
# the window manager's frame), KD_W KD_H (its size).
kd_geometry() {
    local info
    info=$(xwininfo -id "$1") || return 1
    KD_X=$(awk -F: '/Absolute upper-left X/ {print $2 + 0}' <<<"$info")
    KD_Y=$(awk -F: '/Absolute upper-left Y/ {print $2 + 0}' <<<"$info")
    KD_W=$(awk -F: '/^ *Width/ {print $2 + 0}' <<<"$info")
    KD_H=$(awk -F: '/^ *Height/ {print $2 + 0}' <<<"$info")
}

# kd_window_type WINDOW: the _NET_WM_WINDOW_TYPE atoms of a window.
kd_window_type() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null || true; }

# The window that has the focus, as the window manager announces it.
kd_active_window() { xdotool getactivewindow 2>/dev/null || true; }
kd_is_active() { [[ $(kd_active_window) == "$1" ]]; }

# kd_pointer_at X Y: the pointer stands at the screen position.
kd_pointer_at() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell 2>/dev/null)" || return 1
    [[ ${X:-} == "$1" && ${Y:-} == "$2" ]]
}

# kd_move X Y: moves the pointer and waits until it is there. (xdotool's own
# --sync waits 15 seconds when the pointer is already in place.)
kd_move() {
    xdotool mousemove "$1" "$2"
    kd_wait_until "$KD_TIMEOUT" kd_pointer_at "$1" "$2" || kd_die "the pointer did not move to ($1,$2)"
}

# kd_click X Y: moves the pointer to a screen position and clicks there.
kd_click() {
    kd_move "$1" "$2"
    xdotool click 1
}

# kd_primary_selection: the text of the X primary selection (text selected
# with the mouse), empty when there is none.
kd_primary_selection() { timeout 5 xclip -o -selection primary 2>/dev/null || true; }

# --- menu files -----------------------------------------------------------

# kd_write_menu FILE CARD_TYPE REWARD_FOLDER REWARD_FILE [NAME FOLDER]...
# writes a menu file as the supervisor does: UTF-8, CR LF line ends, the
# exercise count, the card type, each exercise's file name and folder, the
# reward choice (0 with a picture, 1 without: REWARD_FOLDER empty) and the
# reward picture's folder and file name.
kd_write_menu() {
    local file=$1 card_type=$2 reward_folder=$3 reward_file=$4
    shift 4
    (($# % 2 == 0)) || kd_die "kd_write_menu: exercises come as name and folder pairs"
    {
        printf '%d\r\n%d\r\n' $(($# / 2)) "$card_type"
        while (($#)); do
            printf '"%s"\r\n"%s"\r\n' "$1" "$2"
            shift 2
        done
        if [[ -n $reward_folder ]]; then
            printf '0\r\n"%s"\r\n"%s"\r\n' "$reward_folder" "$reward_file"
        else
            printf '1\r\n'
        fi
    } >"$file"
}

# --- accessibility over AT-SPI --------------------------------------------

KD_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
KD_TREE= # the latest accessible tree read by kd_wait_tree

# kd_bus_has_name NAME: the private session bus has an owner for the name.
kd_bus_has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# kd_start_atspi: a private D-Bus session bus and the AT-SPI bus launcher on
# it, as a desktop with a screen reader has them. Programs started afterwards
# export their accessible tree there (Qt is told to, whatever the desktop's
# setting).
kd_start_atspi() {
    local bus="$KD_WORK/session-bus"
    kd_start dbus "$KD_WORK" dbus-daemon --session --nofork --nopidfile --address="unix:path=$bus"
    kd_wait_until "$KD_TIMEOUT" test -S "$bus" || kd_die "the D-Bus session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$bus"
    kd_start atspi "$KD_WORK" /usr/libexec/at-spi-bus-launcher --launch-immediately
    kd_wait_until "$KD_TIMEOUT" kd_bus_has_name org.a11y.Bus || kd_die "the AT-SPI bus did not start"
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    kd_log "AT-SPI is running on a private session bus"
}

# kd_tree_has NAME PATTERN: the program's accessible tree, read afresh into
# KD_TREE, has a line matching the extended regular expression.
kd_tree_has() {
    KD_TREE=$(/usr/bin/python3 "$KD_LIB_DIR/atspi_tree.py" "${KD_PID[$1]}" 2>>"$KD_WORK/logs/atspi-client.log") ||
        return 1
    grep -Eq -- "$2" <<<"$KD_TREE"
}

# kd_wait_tree NAME PATTERN LABEL: waits until the program's tree has a line
# matching the pattern; the tree is kept as logs/tree-LABEL.txt.
kd_wait_tree() {
    local found=0
    kd_wait_until "$KD_TIMEOUT" kd_tree_has "$1" "$2" || found=1
    printf '%s\n' "$KD_TREE" >"$KD_WORK/logs/tree-$3.txt"
    return "$found"
}

# kd_expect_tree DESCRIPTION PATTERN: a line of KD_TREE matches the pattern.
kd_expect_tree() {
    if grep -Eq -- "$2" <<<"$KD_TREE"; then kd_pass "$1"; else kd_fail "$1: no line matches /$2/"; fi
}

# kd_expect_no_tree DESCRIPTION PATTERN: no line of KD_TREE matches it.
kd_expect_no_tree() {
    local hit
    hit=$(grep -E -m1 -- "$2" <<<"$KD_TREE" || true)
    if [[ -z $hit ]]; then kd_pass "$1"; else kd_fail "$1: found '${hit# *}'"; fi
}

# The programs, started on a display with no session bus named, would have
# libdbus start one for them that outlives the test. None is named here, and
# a test that needs a bus starts its own (kd_start_atspi).
export DBUS_SESSION_BUS_ADDRESS="disabled:"
# --- stacking, window-manager hints and picture comparisons ---------------

# kd_count_not_black X Y W H: how many pixels of a rectangle of the latest
# screenshot are not black.
kd_count_not_black() {
    convert "$KD_SHOT_PNG" -crop "$3x$4+$1+$2" +repage -fx '(r+g+b)>0' \
        -format '%[fx:round(mean*w*h)]' info:
}

# kd_allowed_actions WINDOW: the actions the window manager allows on the
# window (_NET_WM_ALLOWED_ACTIONS), one atom name a line.
kd_allowed_actions() {
    xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | sed 's/^[^=]*= *//' | tr -s ', ' '\n'
}

# kd_viewable WINDOW: the window is mapped and shown (not minimised).
kd_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
kd_not_viewable() { ! kd_viewable "$1"; }

# kd_differing_pixels A B: how many pixels differ between two pictures of the
# same size.
kd_differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
