#!/usr/bin/env bash
# The installed programs as a screen reader user, a keyboard or one-switch
# user and a large-screen user meet them, on Xvfb with openbox:
#
#   runner-tree      the runner's accessible tree over AT-SPI, for a digit
#                    and a pictogram menu
#   supervisor-tree  the supervisor's accessible tree over AT-SPI
#   keyboard         a whole menu worked with Space and Enter alone, a stray
#                    Tab in the middle, ending on the reward card
#   scale            both programs, both dialogs and a message at scale 2
#
# Needs KELVU_PREFIX, the prefix the build was installed into.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

scenario=${1:-}
case $scenario in
    runner-tree | supervisor-tree | keyboard | scale) ;;
    *)
        echo "usage: $0 runner-tree|supervisor-tree|keyboard|scale" >&2
        exit 2
        ;;
esac

kd_init "accessibility-$scenario"
tools=(Xvfb xdpyinfo xprop xwininfo openbox xdotool import convert display)
case $scenario in
    *-tree) tools+=(dbus-daemon dbus-send /usr/libexec/at-spi-bus-launcher /usr/bin/python3) ;;
esac
kd_require_tools "${tools[@]}"
if [[ $scenario == *-tree ]] && ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
    [[ ${CI:-} == true ]] && kd_die "the AT-SPI client library for Python is missing (python3-gi, gir1.2-atspi-2.0)"
    kd_log "SKIP: the AT-SPI client library for Python is missing (python3-gi, gir1.2-atspi-2.0)"
    exit "$KD_SKIP_STATUS"
fi
kelvu=$(kd_program kelvu)
kelvuadm=$(kd_program kelvuadm)

# A start folder with count exercises (scripts that log their number), the
# card pictures 1num.bmp to 9num.bmp and a magenta reward picture.
make_folder() {
    local count=$1 k
    data=$KD_WORK/data
    start=$data/start
    log=$data/started.log
    mkdir -p "$start" "$data/bilder" "$data/ovningar"
    exercises=()
    for ((k = 1; k <= count; k++)); do
        printf '#!/bin/sh\necho %d >>"%s"\n' "$k" "$log" >"$data/ovningar/ovning$k.sh"
        chmod +x "$data/ovningar/ovning$k.sh"
        exercises+=("ovning$k.sh" "$data/ovningar")
    done
    for k in 1 2 3 4 5 6 7 8 9; do
        convert -size 48x48 xc:white -fill black -draw "rectangle 8,8 40,40" "BMP3:$start/${k}num.bmp"
    done
    convert -size 160x160 xc:magenta "$data/bilder/pris.png"
}
started() { [[ -f $log ]] && wc -l <"$log" || echo 0; }
started_is() { [[ $(started) == "$1" ]]; }

# Twips to pixels at scale 1, rounded, as the programs lay out their windows.
px() { echo $((($1 + 7) / 15)); }

# --- the runner's tree ---------------------------------------------------------

# expect_runner_tree LABEL NAME...: the runner's tree once its cards are
# there: the window, one named button per card, only the first focused.
expect_runner_tree() {
    local label=$1 name
    shift
    kd_wait_tree kelvu 'push button "Belöningsbild"' "$label" ||
        kd_die "the runner's cards never appeared over AT-SPI ($label)"
    kd_log "$KD_TREE"
    kd_expect_tree "$label: the window is heard as \"Arbetsordning\"" '^  frame "Arbetsordning" \[showing'
    for name in "$@"; do
        kd_expect_tree "$label: a card is a button named \"$name\"" "^ +push button \"$name\" \[showing,visible,sensitive"
    done
    kd_expect_tree "$label: the reward card is a button named \"Belöningsbild\"" \
        '^ +push button "Belöningsbild" \[showing,visible,sensitive'
    kd_expect_tree "$label: the first card has the focus" "^ +push button \"$1\" \[[^]]*focusable,focused"
    kd_expect_no_tree "$label: no other card takes the focus" \
        "^ +push button \"(${2}|${3}|Belöningsbild)\" \[[^]]*focusable"
    kd_expect_no_tree "$label: no button is nameless" '^ +push button "" '
    # The backdrop: a window without a name that can neither be used nor
    # take the focus, and holds nothing.
    kd_expect_no_tree "$label: nothing but the runner's window can be acted on" \
        '^  [a-z ]+ "( |)" \[[^]]*(sensitive|focusable)'
}

test_runner_tree() {
    kd_start_display
    kd_start_wm
    kd_start_atspi
    make_folder 3

    kd_write_menu "$start/kelvu.ini" 0 "$data/bilder" pris.png "${exercises[@]}"
    kd_start kelvu "$start" "$kelvu"
    kd_wait_window kelvu Arbetsordning || kd_die "no window titled \"Arbetsordning\" appeared"
    expect_runner_tree digits 1 2 3
    kd_stop kelvu

    kd_write_menu "$start/kelvu.ini" 2 "$data/bilder" pris.png "${exercises[@]}"
    kd_start kelvu "$start" "$kelvu"
    kd_wait_window kelvu Arbetsordning || kd_die "no window titled \"Arbetsordning\" appeared"
    expect_runner_tree pictograms "Bild 1" "Bild 2" "Bild 3"
    kd_stop kelvu
}

# --- the supervisor's tree -----------------------------------------------------

test_supervisor_tree() {
    kd_start_display
    kd_start_wm
    kd_start_atspi
    make_folder 1
    kd_write_menu "$start/kelvu.ini" 0 "$data/bilder" pris.png "${exercises[@]}"

    kd_start kelvuadm "$start" "$kelvuadm"
    kd_wait_window kelvuadm "Kelvu handledarsektion" || kd_die "the supervisor's window did not appear"
    kd_wait_tree kelvuadm 'push button "Spara som"' supervisor ||
        kd_die "the supervisor's controls never appeared over AT-SPI"
    kd_log "$KD_TREE"
    kd_expect_tree 'the window is heard as "Kelvu handledarsektion"' '^  frame "Kelvu handledarsektion" \[showing'
    kd_expect_tree 'the exercise list is "Valda övningar" and has the focus' \
        '^ +list "Valda övningar" \[showing,visible,sensitive,focusable,focused'
    kd_expect_tree 'its entry is read' '^ +list item "ovning1.sh" \[showing'
    kd_expect_tree 'the count bar is "Antal övningar" with the count as its value' \
        '^ +scroll bar "Antal övningar" \[showing[^]]*\] value=1( |$)'
    kd_expect_tree 'the reward panel is named by its heading' \
        '^ +panel "Belöningsbild / vad händer sedan\?" \[showing'
    kd_expect_tree 'the card type panel is named by its heading' \
        '^ +panel "Typ av bilder på korten" \[showing'
    local name
    for name in "På" "Siffror"; do
        kd_expect_tree "the option \"$name\" is a radio button, checked" \
            "^ +radio button \"$name\" \[showing,visible,sensitive,focusable,checked\]"
    done
    for name in "Av" "Bokstäver" "Pictogram" "Former"; do
        kd_expect_tree "the option \"$name\" is a radio button, not checked" \
            "^ +radio button \"$name\" \[showing,visible,sensitive,focusable\]"
    done
    kd_expect_no_tree "no control is a check box" '^ +check box '
    for name in "Lägg till övning" "Lägg till bild" "OK" "Avbryt" "Ny" "Hämta" "Spara som"; do
        kd_expect_tree "the button \"$name\" is named by its caption" \
            "^ +push button \"$name\" \[showing,visible,sensitive,focusable"
    done
    kd_expect_no_tree "the hidden folder list and picture folder are not showing" \
        "\"($data/ovningar|$data/bilder)\" \[showing"
    kd_expect_no_tree "no focusable control is nameless" '^ +[a-z ]+ "" \[showing[^]]*focusable'

    # Both dialogs by keyboard: twelve Tabs lead from the list to "Spara som".
    local main=$KD_WINDOW i
    kd_check "the supervisor's window is active" kd_wait_until "$KD_TIMEOUT" kd_is_active "$main"
    for ((i = 0; i < 12; i++)); do xdotool key Tab; done
    xdotool key space
    kd_wait_until "$KD_TIMEOUT" captionless_dialog || kd_die "Tab and Space did not open the save-settings dialog"
    local dialog=$DIALOG
    kd_check "the save-settings dialog is active" kd_wait_until "$KD_TIMEOUT" kd_is_active "$dialog"
    kd_wait_tree kelvuadm '^  frame "Spara som"' save-dialog || kd_fail "the save-settings dialog never appeared over AT-SPI"
    kd_log "$KD_TREE" | sed -n '/^  frame "Spara som"/,$p'
    kd_expect_tree 'the entry box is named by the prompt and has the focus' \
        '^    text "Skriv in det namn som du vill spara inställningarna under" \[showing[^]]*focused'
    # Return and Esc press nothing: the name typed after them is the one saved.
    xdotool type --delay 5 hemma
    xdotool key Return Escape
    xdotool type --delay 5 2
    xdotool key Tab space
    kd_check "Tab and Space on \"Spara\" save the menu under the name typed" \
        kd_wait_until "$KD_TIMEOUT" test -s "$start/hemma2.ini"
    kd_check "Return and Esc pressed nothing in the save-settings dialog" test ! -e "$start/hemma.ini"
    kd_check "the save-settings dialog closes" kd_wait_until "$KD_TIMEOUT" dialog_gone "$dialog"

    kd_check "the supervisor's window is active again" kd_wait_until "$KD_TIMEOUT" kd_is_active "$main"
    xdotool key Tab space
    kd_wait_until "$KD_TIMEOUT" captionless_dialog || kd_die "Tab and Space did not open the open-settings dialog"
    dialog=$DIALOG
    kd_check "the open-settings dialog is active" kd_wait_until "$KD_TIMEOUT" kd_is_active "$dialog"
    kd_wait_tree kelvuadm 'list item "hemma2.ini"' open-dialog || kd_fail "the open-settings dialog never appeared over AT-SPI"
    kd_log "$KD_TREE" | sed -n '/^  frame "Hämta"/,$p'
    kd_expect_tree 'the settings list is "Sparade inställningar" and has the focus' \
        '^    list "Sparade inställningar" \[showing[^]]*focused'
    # Esc and Return press nothing: after each, Tab still moves in the dialog.
    xdotool key Escape Tab
    kd_check "after Esc the dialog is open and Tab reaches \"Hämta\"" \
        kd_wait_tree kelvuadm '^    push button "Hämta" \[showing[^]]*focused' open-after-escape
    xdotool key Return Tab
    kd_check "after Return the dialog is open and Tab reaches \"Avbryt\"" \
        kd_wait_tree kelvuadm '^    push button "Avbryt" \[showing[^]]*focused' open-after-return
    xdotool key space
    kd_check "Space on \"Avbryt\" closes the open-settings dialog" \
        kd_wait_until "$KD_TIMEOUT" dialog_gone "$dialog"
    kd_check "the supervisor's window is active again" kd_wait_until "$KD_TIMEOUT" kd_is_active "$main"
    kd_stop kelvuadm
}

# --- the runner by keyboard ----------------------------------------------------

readonly CARD_SIDE=137
readonly -a CARD_LEFT=(24 177 331 484)
readonly ROW1_TOP=32

# The focus frame: the card's outer 4 pixels are black, and only on card K.
frame_on() {
    local k=$1 i mid_y=$((RY + ROW1_TOP + CARD_SIDE / 2)) x
    for i in 0 1 2 3; do
        x=$((RX + CARD_LEFT[i] + 1))
        if ((i == k)); then
            kd_pixel_is "$x" "$mid_y" "$BLACK" || return 1
            kd_pixel_is $((x + 2)) "$mid_y" "$BLACK" || return 1
        else
            kd_pixel_is $((x + 2)) "$mid_y" "$BLACK" && return 1
        fi
    done
    return 0
}
shot_frame_on() { kd_screenshot poll && frame_on "$1"; }

test_keyboard() {
    kd_start_display
    kd_start_wm
    make_folder 3
    kd_write_menu "$start/kelvu.ini" 1 "$data/bilder" pris.png "${exercises[@]}"
    kd_start kelvu "$start" "$kelvu"
    kd_wait_window kelvu Arbetsordning || kd_die "no window titled \"Arbetsordning\" appeared"
    local runner=$KD_WINDOW
    kd_geometry "$runner"
    RX=$KD_X RY=$KD_Y
    kd_wait_until "$KD_TIMEOUT" kd_is_active "$runner" || kd_die "the runner never became active"
    if kd_wait_until "$KD_TIMEOUT" shot_frame_on 0; then
        kd_pass "the first card wears the focus frame"
    else
        kd_fail "the first card does not wear the focus frame alone"
    fi
    kd_screenshot start

    xdotool key space
    kd_check "Space starts the first exercise" kd_wait_until "$KD_TIMEOUT" started_is 1
    if kd_wait_until "$KD_TIMEOUT" shot_frame_on 1; then
        kd_pass "the focus frame moves to the second card"
    else
        kd_fail "the focus frame is not on the second card alone"
    fi
    kd_screenshot after-space
    xdotool key Tab
    xdotool key Return
    kd_check "after a stray Tab, Return starts the second exercise" kd_wait_until "$KD_TIMEOUT" started_is 2
    xdotool key KP_Enter
    kd_check "keypad Enter starts the third exercise" kd_wait_until "$KD_TIMEOUT" started_is 3
    kd_screenshot reward-left
    kd_check "the runner waits on the reward card" kd_running kelvu
    xdotool key space
    if kd_wait_exit kelvu "$KD_TIMEOUT"; then
        kd_check "Space on the reward card ends the runner with status 0" test "$KD_STATUS" -eq 0
    else
        kd_fail "the runner did not end on Space at the reward card"
    fi
    kd_check "each exercise was started once, in order" test "$(tr '\n' ' ' <"$log")" == "1 2 3 "
}

# --- scale 2 ---------------------------------------------------------------------

# Twips to screen pixels at scale 2.
px2() { echo $((2 * $(px "$1"))); }
# The screen position of the middle of a control given in twips.
mid2_x() { echo $((WX + $(px2 $(($1 + $2 / 2))))); }
mid2_y() { echo $((WY + $(px2 $(($1 + $2 / 2))))); }

# expect_client_size WHAT WINDOW W H: the client area is W x H and lies
# wholly on the screen.
expect_client_size() {
    kd_geometry "$2"
    kd_check "$1 is ${3}x$4 at scale 2 (${KD_W}x$KD_H)" test "$KD_W" -eq "$3" -a "$KD_H" -eq "$4"
    kd_check "$1 lies wholly on the screen" test "$KD_X" -ge 0 -a "$KD_Y" -ge 0 \
        -a $((KD_X + KD_W)) -le "$KD_SCREEN_WIDTH" -a $((KD_Y + KD_H)) -le "$KD_SCREEN_HEIGHT"
}

# The dark share of a rectangle of the latest screenshot lies between two bounds.
expect_ink() {
    local what=$1 low=$6 high=$7 ink
    ink=$(kd_fraction "$2" "$3" "$4" "$5" 'lightness<0.3')
    if awk -v f="$ink" -v lo="$low" -v hi="$high" 'BEGIN { exit !(f > lo && f < hi) }'; then
        kd_pass "$what ($ink dark)"
    else
        kd_fail "$what: dark share $ink is outside $low to $high"
    fi
}

captionless_dialog() {
    local window
    DIALOG=
    for window in $(kd_find_window kelvuadm " "); do
        kd_geometry "$window" && ((KD_W < KD_SCREEN_WIDTH)) && DIALOG=$window
    done
    [[ -n $DIALOG ]]
}
dialog_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

test_scale() {
    export QT_SCALE_FACTOR=2
    # Room for the runner widened to nine cards: 787 x 455 at scale 1.
    KD_SCREEN_WIDTH=1920 KD_SCREEN_HEIGHT=1200
    kd_start_display
    kd_start_wm
    kd_paint_root "$DESKTOP"
    make_folder 8

    # The runner with eight exercises and the reward: nine cards, two rows.
    kd_write_menu "$start/kelvu.ini" 0 "$data/bilder" pris.png "${exercises[@]}"
    kd_start kelvu "$start" "$kelvu"
    kd_wait_window kelvu Arbetsordning || kd_die "no window titled \"Arbetsordning\" appeared"
    local runner=$KD_WINDOW
    expect_client_size "the runner's window" "$runner" 1574 910
    WX=$KD_X WY=$KD_Y
    local reward_x=$((WX + 2 * 637 + 137)) reward_y=$((WY + 2 * 300 + 137))
    kd_wait_pixel "$KD_TIMEOUT" "$reward_x" "$reward_y" "$MAGENTA" || kd_fail "the ninth card never showed the reward picture"
    kd_screenshot runner-scale-2
    local k left top
    local -a lefts=(24 177 331 484 24 177 331 484 637)
    for k in 0 1 2 3 4 5 6 7 8; do
        left=$((WX + 2 * lefts[k]))
        top=$((WY + 2 * (k < 4 ? 32 : 300)))
        kd_expect_pixel "card $k begins at ($((2 * lefts[k])),$((top - WY)))" $((left - 1)) $((top + 137)) "$YELLOW"
        kd_expect_not_pixel "card $k is 274 pixels wide" $((left + 273)) $((top + 137)) "$YELLOW"
        kd_expect_pixel "card $k ends after 274 pixels" $((left + 274)) $((top + 137)) "$YELLOW"
        ((k < 8)) && expect_ink "card $k carries its digit at twice the size" \
            $((left + 20)) $((top + 20)) 234 234 0.03 0.6
    done
    kd_expect_pixel "the ninth card shows the reward picture" "$reward_x" "$reward_y" "$MAGENTA"
    kd_stop kelvu

    # The supervisor with a menu of one exercise and no reward picture.
    kd_write_menu "$start/kelvu.ini" 0 "" "" "${exercises[@]:0:2}"
    kd_start kelvuadm "$start" "$kelvuadm"
    kd_wait_window kelvuadm "Kelvu handledarsektion" || kd_die "the supervisor's window did not appear"
    local main=$KD_WINDOW
    expect_client_size "the supervisor's window" "$main" 1268 910
    WX=$KD_X WY=$KD_Y
    kd_wait_pixel "$KD_TIMEOUT" $((WX + 10)) $((WY + 10)) "$YELLOW" || kd_fail "the supervisor was never painted"
    kd_screenshot supervisor-scale-2
    local grey="128 128 128"
    kd_expect_pixel "the vertical grey line begins at x = 638" $((WX + 638)) $((WY + 100)) "$grey"
    kd_expect_pixel "the vertical grey line is 6 pixels wide" $((WX + 643)) $((WY + 100)) "$grey"
    kd_expect_not_pixel "the vertical grey line ends after 6 pixels" $((WX + 644)) $((WY + 100)) "$grey"
    kd_expect_pixel "the horizontal grey line begins at y = 478" $((WX + 100)) $((WY + 478)) "$grey"
    kd_expect_pixel "the horizontal grey line is 6 pixels high" $((WX + 100)) $((WY + 483)) "$grey"
    kd_expect_not_pixel "the horizontal grey line ends after 6 pixels" $((WX + 100)) $((WY + 484)) "$grey"
    # The count "1" in Times New Roman 30 pt at scale 2 in its white box.
    expect_ink "the count shows large in its box" $((WX + $(px2 480) + 4)) $((WY + $(px2 1080) + 4)) \
        $(($(px2 495) - 8)) $(($(px2 735) - 8)) 0.02 0.5

    # "Spara som": the save-settings dialog at twice its size.
    kd_click "$(mid2_x 7560 1575)" "$(mid2_y 5760 855)"
    kd_wait_until "$KD_TIMEOUT" captionless_dialog || kd_die "the save-settings dialog did not appear"
    local dialog=$DIALOG
    expect_client_size "the save-settings dialog" "$dialog" 500 438
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is $((KD_X + 5)) $((KD_Y + 5)) "$YELLOW" || true
    kd_screenshot save-dialog-scale-2
    WX=$KD_X WY=$KD_Y
    # The prompt's three lines stand inside its label (240, 240, 3135, 1095).
    local lines
    lines=$(kd_text_lines $((WX + $(px2 240))) $((WY + $(px2 240))) "$(px2 3135)" "$(px2 1095)" | wc -l)
    kd_check "the prompt stands whole in its label ($lines lines)" test "$lines" -ge 2 -a "$lines" -le 4
    kd_click "$(mid2_x 600 1005)" "$(mid2_y 2280 555)"
    kd_wait_until "$KD_TIMEOUT" dialog_gone "$dialog" || kd_die "the save-settings dialog did not close"
    kd_geometry "$main"
    WX=$KD_X WY=$KD_Y

    # "Hämta": the open-settings dialog.
    kd_click "$(mid2_x 7560 1575)" "$(mid2_y 4800 855)"
    kd_wait_until "$KD_TIMEOUT" captionless_dialog || kd_die "the open-settings dialog did not appear"
    dialog=$DIALOG
    expect_client_size "the open-settings dialog" "$dialog" 500 438
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is $((KD_X + 5)) $((KD_Y + 5)) "$YELLOW" || true
    kd_screenshot open-dialog-scale-2
    WX=$KD_X WY=$KD_Y
    expect_ink "the list shows \"kelvu.ini\"" $((WX + $(px2 270) + 4)) $((WY + $(px2 180) + 4)) \
        $(($(px2 2085) - 8)) 60 0.02 0.5
    kd_click "$(mid2_x 2520 1005)" "$(mid2_y 1890 555)"
    kd_wait_until "$KD_TIMEOUT" dialog_gone "$dialog" || kd_die "the open-settings dialog did not close"
    kd_geometry "$main"
    WX=$KD_X WY=$KD_Y

    # "Ny" empties the list; "OK" then shows the message "Fel".
    kd_click "$(mid2_x 7560 1575)" "$(mid2_y 3840 855)"
    kd_click "$(mid2_x 5280 1575)" "$(mid2_y 4800 855)"
    kd_wait_window kelvuadm Fel || kd_die "the message \"Fel\" did not appear"
    local message=$KD_WINDOW
    kd_geometry "$message"
    kd_check "the message lies wholly on the screen" test "$KD_X" -ge 0 -a "$KD_Y" -ge 0 \
        -a $((KD_X + KD_W)) -le "$KD_SCREEN_WIDTH" -a $((KD_Y + KD_H)) -le "$KD_SCREEN_HEIGHT"
    kd_check "the message is at least twice its smallest size at scale 1 (${KD_W}x$KD_H)" \
        test "$KD_W" -ge 400 -a "$KD_H" -ge 160
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is_not $((KD_X + 5)) $((KD_Y + 5)) "$BLACK" || true
    kd_screenshot message-scale-2
    xdotool key Return
    kd_wait_until "$KD_TIMEOUT" dialog_gone "$message" || kd_fail "the message did not close on Return"
    kd_stop kelvuadm
}

case $scenario in
    runner-tree) test_runner_tree ;;
    supervisor-tree) test_supervisor_tree ;;
    keyboard) test_keyboard ;;
    scale) test_scale ;;
esac
# The screenshots and trees are kept for a person to look at when asked.
if [[ -n ${KELVU_DISPLAY_KEEP:-} ]]; then
    mkdir -p "$KD_ARTIFACTS"
    cp -r "$KD_WORK/shots" "$KD_WORK/logs" "$KD_ARTIFACTS/"
fi
kd_finish
