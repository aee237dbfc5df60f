#!/usr/bin/env bash
# The two installed programs from end to end on a real X display (Xvfb with
# openbox): "kelvuadm" started in an empty folder, an exercise added through
# the real file dialog, the count set to match, a reward picture picked and
# "OK" pressed; then "kelvu" started in the same folder shows that menu and
# starts that exercise.
#
# Needs KELVU_PREFIX, the prefix the build was installed into. With
# KELVU_START=desktop both programs start as their installed desktop entries
# start them, through the launcher, with a fresh home folder: the menu is then
# made and read in ~/Kelvu, which the first start makes and fills with the
# default card pictures.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

kd_init "end-to-end${KELVU_START:+-$KELVU_START}"
kd_require_tools Xvfb xdpyinfo xprop xwininfo openbox xdotool xclip import convert compare display \
    fc-match xmessage
kelvuadm=$(kd_program kelvuadm)
kelvu=$(kd_program kelvu)
kd_launch_command kelvuadm
start_kelvuadm=("${KD_COMMAND[@]}")
kd_launch_command kelvu
start_kelvu=("${KD_COMMAND[@]}")


# Twips to pixels, rounded, as the programs lay out their windows.
px() { echo $((($1 + 7) / 15)); }
# The screen position of the middle of a control given in twips.
middle_x() { echo $((WX + $(px $(($1 + $2 / 2))))); }
middle_y() { echo $((WY + $(px $(($1 + $2 / 2))))); }

kd_start_display
kd_start_wm
kd_paint_root "$DESKTOP"

# An empty start folder, an exercise in a folder of its own and a picture.
# (The names are typed into the file dialog; xdotool types letters outside
# the keyboard map by remapping keys, which Qt may read mid-change, so the
# paths stay ASCII. The widget tests cover å, ä and ö in names.)
home="$KD_WORK/hem"
start_folder=$home
mkdir -p "$KD_WORK/ovningar" "$KD_WORK/bilder"
if [[ ${KELVU_START:-} == desktop ]]; then
    # A file named Kelvu where the working folder belongs: the launcher says
    # so in a window, and leaves the file as it was.
    mkdir "$KD_WORK/blocked"
    echo "egen fil" >"$KD_WORK/blocked/Kelvu"
    HOME="$KD_WORK/blocked" kd_start blocked "$KD_WORK" "${start_kelvuadm[@]}"
    kd_check "a file where ~/Kelvu belongs is reported in a window" kd_wait_window blocked Kelvu
    kd_check "the file named Kelvu is left as it was" test "$(cat "$KD_WORK/blocked/Kelvu")" == "egen fil"
    kd_stop blocked
    export HOME="$KD_WORK/home"
    mkdir "$HOME"
    home="$HOME/Kelvu"
    start_folder=$KD_WORK
else
    mkdir -p "$home"
fi
exercise="$KD_WORK/ovningar/rita.exe"
# It records its process id and its folder, then shows a window of its own
# away from the runner's.
printf '#!/bin/sh\necho $$ > "%s"\npwd > "%s"\nexec xmessage -title Rita -geometry 300x100+20+20 "Rita en bild"\n' \
    "$KD_WORK/rita.pid" "$KD_WORK/started.txt" >"$exercise"
chmod +x "$exercise"
picture="$KD_WORK/bilder/pris.bmp"
convert -size 64x64 xc:magenta "BMP3:$picture"

# --- another program's window, open before either program starts ------------
# Both programs' black backdrops must hide it. It stands away from the
# programs' centred windows and from the exercise's window.
kd_start other "$KD_WORK" xmessage -title Annan -geometry 300x150+900+40 "Ett annat program"
other_window() { xdotool search --onlyvisible --name '^Annan$' 2>/dev/null | head -n1; }
has_other_window() { [[ -n $(other_window) ]]; }
kd_wait_until "$KD_TIMEOUT" has_other_window || kd_die "the other program's window did not appear"
kd_geometry "$(other_window)"
OX=$KD_X OY=$KD_Y OW=$KD_W OH=$KD_H
kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is_not $((OX + 5)) $((OY + 5)) "$DESKTOP" || true
kd_screenshot other-program
other_before=$(kd_count_not_black "$OX" "$OY" "$OW" "$OH")
kd_log "before the start: $other_before of $((OW * OH)) pixels of the other program's window not black"
kd_check "the other program's window shows before the start" test "$other_before" -ge $((OW * OH / 2))
# expect_other_hidden WHEN: on the latest screenshot the other program's
# window is black all over.
expect_other_hidden() {
    local count
    count=$(kd_count_not_black "$OX" "$OY" "$OW" "$OH")
    kd_log "$1: $count pixels of the other program's window not black"
    kd_check "$1: the other program's window is hidden" test "$count" -eq 0
}

# --- the supervisor ----------------------------------------------------------
kd_start kelvuadm "$start_folder" "${start_kelvuadm[@]}"
kd_wait_window kelvuadm "Kelvu handledarsektion" || kd_die "the supervisor's window did not appear"
main=$KD_WINDOW
kd_geometry "$main"
WX=$KD_X WY=$KD_Y
kd_check "the supervisor's client area is 634 x 455" test "$KD_W" -eq 634 -a "$KD_H" -eq 455
kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is 0 0 "$BLACK" || true
kd_screenshot supervisor-start
if [[ ${KELVU_START:-} == desktop ]]; then
    kd_check "the first start made ~/Kelvu" test -d "$home"
    for n in 1 2 3 4 5 6 7 8 9; do
        kd_check "the first start put in the default ${n}num.bmp" \
            cmp -s "$home/${n}num.bmp" "$KELVU_PREFIX/share/kelvu/kort/${n}num.bmp"
    done
fi
kd_expect_pixel "the supervisor stands on a black screen" 0 0 "$BLACK"
kd_expect_pixel "the supervisor's window is light yellow" $((WX + 5)) $((WY + 200)) "$YELLOW"
expect_other_hidden "the supervisor is up"

kd_has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
dialog_closed() { ! kd_has_window kelvuadm "$1"; }
# The captionless dialog: a window without title that, unlike the backdrop
# (captionless too), does not cover the screen. Sets save.
find_dialog() {
    local window
    save=
    for window in $(kd_find_window kelvuadm " "); do
        kd_geometry "$window" && ((KD_W < KD_SCREEN_WIDTH)) && save=$window
    done
    [[ -n $save ]]
}

# pick_file BUTTON_X BUTTON_Y TITLE PATH: clicks a button that opens the file
# dialog, types the file's name into the dialog and confirms.
pick_file() {
    kd_click "$1" "$2"
    kd_wait_window kelvuadm "$3" || kd_die "the file dialog \"$3\" did not appear"
    local dialog=$KD_WINDOW
    kd_wait_until "$KD_TIMEOUT" kd_has_focus "$dialog" || kd_die "the file dialog \"$3\" has no focus"
    kd_screenshot "dialog-$3"
    xdotool type --delay 5 "$4"
    xdotool key Return
    if ! kd_wait_until "$KD_TIMEOUT" dialog_closed "$3"; then
        kd_screenshot "dialog-still-open"
        kd_die "the file dialog \"$3\" did not close"
    fi
}

# "Lägg till övning" (1560, 2760, 2655, 495): the exercise.
pick_file "$(middle_x 1560 2655)" "$(middle_y 2760 495)" "Hämta fil" "$exercise"
kd_screenshot exercise-added
# Its name now stands in the exercise list (1560, 480, 2655, 2160).
lines=$(kd_text_lines $((WX + $(px 1560) + 4)) $((WY + $(px 480) + 3)) $(($(px 2655) - 8)) $(($(px 2160) - 6)))
kd_check "the exercise list shows one entry" test -n "$lines" -a "$(grep -c . <<<"$lines")" -eq 1
# The entry's text, copied from the list with Ctrl+C after a click on it.
read -r entry_y entry_x <<<"$lines"
kd_click $((entry_x + 5)) "$entry_y"
xdotool key ctrl+c
list_entry_is() { [[ $(timeout 5 xclip -o -selection clipboard 2>/dev/null) == "$1" ]]; }
kd_check "the exercise list's entry reads rita.exe" kd_wait_until "$KD_TIMEOUT" list_entry_is rita.exe

# --- a "Fel" message in front of the backdrop --------------------------------
# "OK" (5280, 4800, 1575, 855) with the count at 3 and one exercise listed.
kd_click "$(middle_x 5280 1575)" "$(middle_y 4800 855)"
kd_wait_window kelvuadm "Fel" || kd_die "the message \"Fel\" did not appear"
message=$KD_WINDOW
kd_geometry "$message"
kd_click 5 5
kd_wait_until "$KD_TIMEOUT" kd_is_active "$message" || true
kd_screenshot message-black-clicked
kd_expect_not_pixel "the message lies in front of the backdrop" $((KD_X + 5)) $((KD_Y + 5)) "$BLACK"
kd_expect_pixel "the supervisor's window stays in front under it" $((WX + 5)) $((WY + 200)) "$YELLOW"
expect_other_hidden "a click on the black area with the message shown"
kd_check "the message keeps the focus" kd_is_active "$message"
xdotool key Return
kd_wait_until "$KD_TIMEOUT" dialog_closed "Fel" || kd_die "the message did not close on Enter"

# --- the count's thumb dragged below the listed exercises --------------------
# With a second exercise listed, the thumb of the count bar (960, 840, 255,
# 1215) is dragged from 3 to the top, past the 2 listed: the count does not
# move while the thumb does, and on release it is 3 again.
pick_file "$(middle_x 1560 2655)" "$(middle_y 2760 495)" "Hämta fil" "$exercise"
kd_screenshot two-exercises
# The first entry is selected (light text on the highlight), so the text
# looked for is the second entry's, below the first row.
below_first_row() { kd_text_lines $((WX + $(px 1560) + 4)) $((WY + $(px 480) + 20)) $(($(px 2655) - 8)) $(($(px 2160) - 23)) | wc -l; }
kd_check "the exercise list shows a second entry" test "$(below_first_row)" -eq 1
# Label3 (480, 1080, 495, 735) and the bar, in pixels; the thumb stands at
# rows 24 to 49 of the bar for a count of 3.
count_crop() { kd_crop $((WX + 32)) $((WY + 72)) 30 49 "$1"; }
bar_crop() { kd_crop $((WX + 64)) $((WY + 56)) 17 81 "$1"; }
count_crop "$KD_WORK/count-before.png"
bar_crop "$KD_WORK/bar-before.png"
thumb_x=$((WX + 64 + 8)) thumb_y=$((WY + 56 + 37))
kd_move "$thumb_x" "$thumb_y"
xdotool mousedown 1
# In small steps, so that the thumb passes every value on its way up.
for ((step = 2; step <= 40; step += 2)); do kd_move "$thumb_x" $((thumb_y - step)); done
bar_moved() { kd_screenshot poll && bar_crop "$KD_WORK/bar-now.png" &&
    [[ $(kd_differing_pixels "$KD_WORK/bar-before.png" "$KD_WORK/bar-now.png") != 0 ]]; }
kd_wait_until "$KD_TIMEOUT" bar_moved || kd_fail "the thumb did not follow the pointer"
kd_screenshot thumb-dragged
count_crop "$KD_WORK/count-dragged.png"
changed=$(kd_differing_pixels "$KD_WORK/count-before.png" "$KD_WORK/count-dragged.png")
kd_check "the count shown does not change while the thumb is dragged ($changed pixels differ)" test "$changed" -eq 0
xdotool mouseup 1
bar_back() { kd_screenshot poll && bar_crop "$KD_WORK/bar-now.png" &&
    [[ $(kd_differing_pixels "$KD_WORK/bar-before.png" "$KD_WORK/bar-now.png") == 0 ]]; }
kd_wait_until "$KD_TIMEOUT" bar_back || true
kd_screenshot thumb-released
bar_crop "$KD_WORK/bar-after.png"
count_crop "$KD_WORK/count-after.png"
changed=$(kd_differing_pixels "$KD_WORK/bar-before.png" "$KD_WORK/bar-after.png")
kd_check "on release the thumb is back at 3 ($changed pixels differ)" test "$changed" -eq 0
changed=$(kd_differing_pixels "$KD_WORK/count-before.png" "$KD_WORK/count-after.png")
kd_check "on release the count shown is 3 again ($changed pixels differ)" test "$changed" -eq 0
# A double-click on the first entry removes it again: below the first row
# the list is then empty.
kd_move $((WX + $(px 1560) + 20)) $((WY + $(px 480) + 10))
xdotool click --repeat 2 --delay 80 1
one_entry() { kd_screenshot poll && [[ $(below_first_row) == 0 ]]; }
kd_check "a double-click leaves one entry in the list" kd_wait_until "$KD_TIMEOUT" one_entry

# The count starts at 3: two clicks on the upper arrow of the count bar
# (960, 840, 255, 1215) lower it to match the one exercise.
down_x=$(middle_x 960 255)
down_y=$((WY + $(px 840) + 6))
kd_click "$down_x" "$down_y"
kd_click "$down_x" "$down_y"

# "Lägg till bild" (6600, 1920, 2655, 495): the reward picture.
pick_file "$(middle_x 6600 2655)" "$(middle_y 1920 495)" "Hämta " "$picture"
kd_screenshot picture-picked

# A click on the black area leaves the supervisor's window in front and active.
kd_click 5 5
kd_screenshot black-clicked
kd_check "a click on the black area leaves the supervisor's window active" kd_is_active "$main"
kd_expect_pixel "the supervisor's window is still in front" $((WX + 5)) $((WY + 200)) "$YELLOW"
expect_other_hidden "a click on the black area"

# "Spara som" (7560, 5760, 1575, 855): the save-settings dialog, captionless,
# in front of the backdrop; its "Avbryt" (600, 2280, 1005, 555) gives the main
# window back.
kd_click "$(middle_x 7560 1575)" "$(middle_y 5760 855)"
kd_wait_until "$KD_TIMEOUT" find_dialog || kd_die "the save-settings dialog did not appear"
kd_geometry "$save"
SX=$KD_X SY=$KD_Y
kd_check "the save-settings dialog's client area is 250 x 219" test "$KD_W" -eq 250 -a "$KD_H" -eq 219

# --- the dialog has no minimise or maximise ----------------------------------
actions=$(kd_allowed_actions "$save")
kd_log "the window manager allows on the dialog: $(echo $actions)"
allows() { grep -qx "$1" <<<"$actions"; }
kd_check "the dialog can be moved" allows _NET_WM_ACTION_MOVE
kd_check "the dialog cannot be minimised" bash -c "! grep -qx _NET_WM_ACTION_MINIMIZE <<<\"\$0\"" "$actions"
kd_check "the dialog cannot be maximised" bash -c "! grep -q _NET_WM_ACTION_MAXIMIZE <<<\"\$0\"" "$actions"
xdotool windowminimize "$save"
if kd_wait_until 2 kd_not_viewable "$save"; then
    kd_fail "the dialog was minimised"
else
    kd_pass "a request to minimise the dialog leaves it on the screen"
fi
# The main window minimised and activated again: the dialog is in front,
# with the focus.
xdotool windowminimize "$main"
kd_wait_until "$KD_TIMEOUT" kd_not_viewable "$main" || kd_fail "the main window was not minimised"
xdotool windowactivate "$main" 2>/dev/null || true
kd_check "the main window comes back" kd_wait_until "$KD_TIMEOUT" kd_viewable "$main"
kd_check "the dialog has the focus again" kd_wait_until "$KD_TIMEOUT" kd_is_active "$save"
kd_wait_pixel "$KD_TIMEOUT" $((KD_X + 5)) $((KD_Y + 5)) "$YELLOW" || true
kd_screenshot main-activated
kd_expect_pixel "the dialog is in front of the main window" $((KD_X + 5)) $((KD_Y + 5)) "$YELLOW"
kd_expect_pixel "the main window is in front of the backdrop" $((WX + 5)) $((WY + 200)) "$YELLOW"
kd_click 5 5
kd_screenshot save-dialog
kd_expect_pixel "the save-settings dialog lies in front of the backdrop" $((SX + 5)) $((SY + 5)) "$YELLOW"
kd_expect_pixel "the screen around it stays black" 0 0 "$BLACK"
expect_other_hidden "a click on the black area with the dialog shown"
kd_click $((SX + $(px $((600 + 502))))) $((SY + $(px $((2280 + 277)))))
kd_wait_until "$KD_TIMEOUT" bash -c "! xwininfo -id $save 2>/dev/null | grep -q IsViewable" ||
    kd_die "the save-settings dialog did not close on Avbryt"
kd_pass "Avbryt closes the save-settings dialog"

# "OK" (5280, 4800, 1575, 855): the checks pass, the menu is written, the end.
kd_click "$(middle_x 5280 1575)" "$(middle_y 4800 855)"
if kd_wait_exit kelvuadm "$KD_TIMEOUT"; then
    kd_check "the supervisor ended with status 0 after OK" test "$KD_STATUS" -eq 0
else
    kd_screenshot ok-did-not-end
    kd_die "the supervisor did not end after OK"
fi
expected=$(printf '1\r\n0\r\n"rita.exe"\r\n"%s"\r\n0\r\n"%s"\r\n"pris.bmp"\r\n' \
    "$KD_WORK/ovningar" "$KD_WORK/bilder")
kd_check "kelvu.ini holds the menu that was built" test "$(cat "$home/kelvu.ini")" == "$expected"

# --- the learner's program on that menu -------------------------------------
if [[ ${KELVU_START:-} == desktop ]]; then
    # A picture of the user's own stays; a missing one comes back.
    printf 'egen bild' >"$home/2num.bmp"
    rm "$home/5num.bmp"
fi
kd_start kelvu "$start_folder" "${start_kelvu[@]}"
kd_wait_window kelvu "Arbetsordning" || kd_die "the learner's window did not appear"
runner=$KD_WINDOW
kd_geometry "$runner"
WX=$KD_X WY=$KD_Y
card0_x=$((WX + 24 + 68)) card0_y=$((WY + 32 + 68))
card1_x=$((WX + 177 + 68)) card1_y=$((WY + 32 + 68))
kd_wait_pixel "$KD_TIMEOUT" "$card1_x" "$card1_y" "$MAGENTA" || true
kd_screenshot runner-start
kd_expect_pixel "the reward picture stands on the second card" "$card1_x" "$card1_y" "$MAGENTA"
kd_expect_not_pixel "the third card place is empty" $((WX + 331 + 68)) "$card0_y" "$MAGENTA"
if [[ ${KELVU_START:-} == desktop ]]; then
    kd_check "the launcher kept the user's own 2num.bmp" test "$(cat "$home/2num.bmp")" == "egen bild"
    kd_check "the launcher put the missing 5num.bmp back" \
        cmp -s "$home/5num.bmp" "$KELVU_PREFIX/share/kelvu/kort/5num.bmp"
fi
digit=$(kd_face_digit $((WX + 24 + 10)) $((WY + 32 + 10)) 117 117)
kd_check "the first card shows the digit 1 (read $digit)" test "$digit" = 1
expect_other_hidden "the learner's program is up"

kd_click "$card0_x" "$card0_y"
if kd_wait_until "$KD_TIMEOUT" test -s "$KD_WORK/started.txt"; then
    kd_check "the exercise started in its own folder" test "$(cat "$KD_WORK/started.txt")" == "$KD_WORK/ovningar"
else
    kd_fail "the exercise did not start"
fi
# The exercise's window comes up in front of the black backdrop, with the focus.
exercise_window() { xdotool search --onlyvisible --name '^Rita$' 2>/dev/null | head -n1; }
# Ends the exercise this test started, by the process id it wrote.
end_exercise() {
    local pid
    pid=$(cat "$KD_WORK/rita.pid" 2>/dev/null) || return 0
    [[ $(ps -o comm= -p "$pid" 2>/dev/null) == xmessage ]] && kill "$pid" 2>/dev/null
    return 0
}
exercise_shown() { [[ -n $(exercise_window) ]]; }
if kd_wait_until "$KD_TIMEOUT" exercise_shown; then
    exercise_id=$(exercise_window)
    kd_geometry "$exercise_id"
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is_not $((KD_X + 5)) $((KD_Y + 5)) "$BLACK" || true
    kd_screenshot exercise-window
    kd_expect_not_pixel "the exercise's window lies in front of the backdrop" $((KD_X + 5)) $((KD_Y + 5)) "$BLACK"
    kd_check "the exercise's window has the focus" kd_wait_until "$KD_TIMEOUT" kd_is_active "$exercise_id"
    end_exercise
else
    kd_fail "the exercise's window did not appear"
fi
kd_wait_pixel "$KD_TIMEOUT" "$card0_x" "$card0_y" "$YELLOW" || true
kd_screenshot exercise-started
kd_expect_pixel "the started exercise's card is gone" "$card0_x" "$card0_y" "$YELLOW"
# A click on the black area leaves the learner's window in front and active.
kd_click 5 5
kd_wait_until "$KD_TIMEOUT" kd_is_active "$runner" || true
kd_screenshot runner-black-clicked
kd_check "a click on the black area leaves the learner's window active" kd_is_active "$runner"
kd_expect_pixel "the learner's window is still in front" "$card1_x" "$card1_y" "$MAGENTA"
expect_other_hidden "a click on the black area of the learner's program"

kd_click "$card1_x" "$card1_y"
if kd_wait_exit kelvu "$KD_TIMEOUT"; then
    kd_check "the reward picture ends the learner's program with status 0" test "$KD_STATUS" -eq 0
else
    kd_fail "the learner's program did not end on the reward picture"
fi
end_exercise
kd_finish
