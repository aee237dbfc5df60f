#!/usr/bin/env bash
# Takes the screenshots that the README and the metainfo show, of the real
# installed programs on a private Xvfb server with openbox, started as their
# desktop entries start them (the launcher, in ~/Kelvu of a scratch home
# folder). Writes docs/screenshots/*.png.
#
#   tools/screenshots.sh            builds, installs into build/install-prefix
#                                   and takes the screenshots of that install
#   tools/screenshots.sh PREFIX     takes them of the programs in PREFIX
#                                   (for example /usr, the installed package)
#
# Runs unattended; it ends every program it started.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$repo/docs/screenshots
if [[ -n ${1:-} ]]; then
    prefix=$(cd "$1" && pwd)
else
    cd "$repo"
    [[ -f build/CMakeCache.txt ]] || cmake --preset default
    cmake --build build
    cmake --install build --prefix build/install-prefix >/dev/null
    prefix=$repo/build/install-prefix
fi
export KELVU_PREFIX=$prefix KELVU_START=desktop
export KELVU_DISPLAY_ARTIFACTS=${KELVU_DISPLAY_ARTIFACTS:-$repo/build/screenshot-artifacts}
# shellcheck source=../tests/display/lib.sh
source "$repo/tests/display/lib.sh"

kd_init screenshots
kd_require_tools Xvfb xdpyinfo xprop xwininfo openbox xdotool import convert display
kd_launch_command kelvuadm
start_kelvuadm=("${KD_COMMAND[@]}")
kd_launch_command kelvu
start_kelvu=("${KD_COMMAND[@]}")

export HOME="$KD_WORK/home"
folder="$HOME/Kelvu"
mkdir -p "$folder" "$out"
demo="$prefix/share/kelvu/demo"
[[ -d $demo ]] || kd_die "the installed demo $demo is missing"

kd_start_display
kd_start_wm
kd_paint_root "$DESKTOP"

# write_menu CARD_TYPE: the demo menu, the three demo exercises with the star.
write_menu() {
    kd_write_menu "$folder/kelvu.ini" "$1" "$demo/bilder" stjarna.bmp \
        räkna.exe "$demo/övningar/räkna" läsa.exe "$demo/övningar/läsa" \
        rita.exe "$demo/övningar/rita"
}

# frame WINDOW: FX FY FW FH, the window with the window manager's frame.
frame() {
    local left right top bottom
    kd_geometry "$1"
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS |
        sed -n 's/.*= *//p' | tr -d ',')
    FX=$((KD_X - ${left:-0})) FY=$((KD_Y - ${top:-0}))
    FW=$((KD_W + ${left:-0} + ${right:-0})) FH=$((KD_H + ${top:-0} + ${bottom:-0}))
}

# save NAME X Y W H: saves a rectangle of a fresh screenshot, with a margin
# of the surrounding screen, as docs/screenshots/NAME.png.
save() {
    local margin=16 x y w h
    kd_screenshot "$1"
    x=$(($2 - margin)) y=$(($3 - margin)) w=$(($4 + 2 * margin)) h=$(($5 + 2 * margin))
    ((x < 0)) && x=0
    ((y < 0)) && y=0
    convert "$KD_SHOT_PNG" -crop "${w}x${h}+${x}+${y}" +repage -strip \
        -define png:compression-level=9 "$out/$1.png"
    kd_log "saved $out/$1.png"
}

# The windows of a process other than its main window and the full-screen
# backdrop: the dialog or message it shows.
other_window() {
    local window
    for window in $(kd_windows "$1"); do
        [[ $window == "$2" ]] && continue
        kd_geometry "$window" || continue
        ((KD_W < KD_SCREEN_WIDTH)) && { echo "$window"; return 0; }
    done
    return 1
}
has_other_window() { other_window "$1" "$2" >/dev/null; }
no_other_window() { ! other_window "$1" "$2" >/dev/null; }

px() { echo $((($1 + 7) / 15)); }
# click_twips X Y W H: clicks the middle of a control given in twips, inside
# the client area at WX WY.
click_twips() { kd_click $((WX + $(px $(($1 + $3 / 2))))) $((WY + $(px $(($2 + $4 / 2))))); }

# --- the supervisor on the demo menu, with two saved menus -------------------
write_menu 2
cp "$folder/kelvu.ini" "$folder/måndag.ini"
cp "$folder/kelvu.ini" "$folder/tisdag.ini"
kd_start kelvuadm "$KD_WORK" "${start_kelvuadm[@]}"
kd_wait_window kelvuadm "Kelvu handledarsektion" || kd_die "the supervisor's window did not appear"
main=$KD_WINDOW
frame "$main"
SUP=("$FX" "$FY" "$FW" "$FH")
kd_geometry "$main"
WX=$KD_X WY=$KD_Y
kd_wait_pixel "$KD_TIMEOUT" $((WX + 5)) $((WY + 200)) "$YELLOW" || kd_die "the supervisor did not paint"
kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is 0 0 "$BLACK" || true
save supervisor "${SUP[@]}"

# "Spara som" (7560, 5760, 1575, 855): the save dialog, with a name typed.
click_twips 7560 5760 1575 855
kd_wait_until "$KD_TIMEOUT" has_other_window kelvuadm "$main" || kd_die "the save dialog did not appear"
dialog=$(other_window kelvuadm "$main")
xdotool type --delay 20 "fredag"
kd_wait_until "$KD_TIMEOUT" kd_is_active "$dialog" || true
save spara-som "${SUP[@]}"
# Its "Avbryt" (600, 2280, 1005, 555).
kd_geometry "$dialog"
kd_click $((KD_X + $(px 1102))) $((KD_Y + $(px 2557)))
kd_wait_until "$KD_TIMEOUT" no_other_window kelvuadm "$main" || kd_die "the save dialog did not close"

# "Hämta" (7560, 4800, 1575, 855): the open dialog lists the saved menus.
click_twips 7560 4800 1575 855
kd_wait_until "$KD_TIMEOUT" has_other_window kelvuadm "$main" || kd_die "the open dialog did not appear"
dialog=$(other_window kelvuadm "$main")
save hamta "${SUP[@]}"
# Its "Avbryt" (2520, 1890, 1005, 555).
kd_geometry "$dialog"
kd_click $((KD_X + $(px 3022))) $((KD_Y + $(px 2167)))
kd_wait_until "$KD_TIMEOUT" no_other_window kelvuadm "$main" || kd_die "the open dialog did not close"

# The count one higher than the exercises chosen: the lower arrow of the count
# bar (960, 840, 255, 1215) raises it; "OK" (5280, 4800) then says "Fel".
kd_click $((WX + $(px 1087))) $((WY + $(px 2055) - 6))
click_twips 5280 4800 1575 855
kd_wait_window kelvuadm "Fel" || kd_die "the message \"Fel\" did not appear"
message=$KD_WINDOW
frame "$message"
# The message and the main window together.
x=$((FX < SUP[0] ? FX : SUP[0])) y=$((FY < SUP[1] ? FY : SUP[1]))
r=$((FX + FW > SUP[0] + SUP[2] ? FX + FW : SUP[0] + SUP[2]))
b=$((FY + FH > SUP[1] + SUP[3] ? FY + FH : SUP[1] + SUP[3]))
save fel "$x" "$y" $((r - x)) $((b - y))
# Its "OK" has the focus.
xdotool key Return
no_message() { ! kd_has_window kelvuadm Fel; }
kd_wait_until "$KD_TIMEOUT" no_message || kd_die "the message \"Fel\" did not close"
# "Avbryt" (5280, 5760) ends the supervisor without writing.
click_twips 5280 5760 1575 855
kd_wait_exit kelvuadm "$KD_TIMEOUT" || kd_die "the supervisor did not end on Avbryt"

# --- the learner's program, with each kind of card ---------------------------
# start_runner CARD_TYPE: starts the runner on the demo menu with that kind of
# card and waits until its window is drawn.
start_runner() {
    write_menu "$1"
    kd_start kelvu "$KD_WORK" "${start_kelvu[@]}"
    kd_wait_window kelvu "Arbetsordning" || kd_die "the learner's window did not appear"
    runner=$KD_WINDOW
    kd_geometry "$runner"
    WX=$KD_X WY=$KD_Y
    frame "$runner"
    RUN=("$FX" "$FY" "$FW" "$FH")
    # The reward picture's blue on the fourth card shows that the window is drawn.
    kd_wait_pixel "$KD_TIMEOUT" $((WX + 485 + 20)) $((WY + 32 + 20)) "25 25 112" || true
}
for kind in 0:siffror 1:bokstaver 3:former 2:pictogram; do
    start_runner "${kind%%:*}"
    save "runner-${kind#*:}" "${RUN[@]}"
    [[ $kind == 2:* ]] || kd_stop kelvu
done

# --- an exercise in front of the runner --------------------------------------
exercise_window() { xdotool search --onlyvisible --name '^Räkna$' 2>/dev/null | head -n1; }
has_exercise() { [[ -n $(exercise_window) ]]; }
kd_click $((WX + 24 + 68)) $((WY + 32 + 68))
kd_wait_until "$KD_TIMEOUT" has_exercise || kd_die "the exercise window did not appear"
exercise=$(exercise_window)
kd_wait_until "$KD_TIMEOUT" kd_is_active "$exercise" || true
frame "$exercise"
x=$((FX < RUN[0] ? FX : RUN[0])) y=$((FY < RUN[1] ? FY : RUN[1]))
r=$((FX + FW > RUN[0] + RUN[2] ? FX + FW : RUN[0] + RUN[2]))
b=$((FY + FH > RUN[1] + RUN[3] ? FY + FH : RUN[1] + RUN[3]))
save ovning "$x" "$y" $((r - x)) $((b - y))
# "Klar" has the focus: Enter ends the exercise.
xdotool key Return
kd_wait_until "$KD_TIMEOUT" eval '! has_exercise' || kd_die "the exercise did not end on Klar"
kd_stop kelvu
kd_finish
