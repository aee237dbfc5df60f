#!/usr/bin/env bash
# The installed learner's program "kelvu" on a real X display (Xvfb with
# openbox), driven with the mouse and keyboard through xdotool and checked on
# screenshots.
#
#   run_runner.sh menu          a menu of three exercises and a reward picture:
#                               layout, colours, the cards in order, the black
#                               backdrop, the end on the reward picture
#   run_runner.sh missing-menu  no kelvu.ini: the error message, then the end
#                               with a failure status
#
# Needs KELVU_PREFIX, the prefix the build was installed into.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

scenario=${1:-menu}
case $scenario in
    menu | missing-menu) ;;
    *)
        echo "usage: $0 [menu|missing-menu]" >&2
        exit 2
        ;;
esac

kd_init "runner-$scenario"
kd_require_tools Xvfb xdpyinfo xprop xwininfo openbox xdotool xclip import convert display compare \
    fc-match
kelvu=$(kd_program kelvu)


# The runner's client area, and its cards, in pixels (twips / 15, rounded).
readonly CLIENT_W=634 CLIENT_H=455
readonly CARD_SIDE=137
readonly -a CARD_LEFT=(24 177 331 484)
readonly ROW1_TOP=32 ROW2_TOP=300

kd_start_display
kd_start_wm
kd_paint_root "$DESKTOP"

# The corners and the middle of the left and right screen edges, all far
# from a centred 634 x 455 window.
black_points=("0 0" "$((KD_SCREEN_WIDTH - 1)) 0" "0 $((KD_SCREEN_HEIGHT - 1))"
    "$((KD_SCREEN_WIDTH - 1)) $((KD_SCREEN_HEIGHT - 1))" "40 512" "$((KD_SCREEN_WIDTH - 40)) 512")

expect_black_screen() {
    local point px py
    for point in "${black_points[@]}"; do
        # shellcheck disable=SC2086
        kd_expect_pixel "$1: the screen at ($point) is black" $point "$BLACK"
    done
}

# After the program has gone, the bare screen shows again: no backdrop and no
# window of it is left.
expect_screen_cleared() {
    if kd_wait_pixel "$KD_TIMEOUT" 0 0 "$DESKTOP"; then
        kd_pass "the backdrop is gone with the program"
    else
        kd_fail "the backdrop is still on the screen after the program ended"
    fi
    kd_screenshot after-end
    kd_expect_pixel "no window is left in the middle of the screen" \
        $((KD_SCREEN_WIDTH / 2)) $((KD_SCREEN_HEIGHT / 2)) "$DESKTOP"
}

# --- a menu of three exercises with a reward picture ------------------------

# Screen position of the runner's client area.
RX=0 RY=0

card_x() { echo $((RX + CARD_LEFT[$1])); }
card_center_x() { echo $((RX + CARD_LEFT[$1] + CARD_SIDE / 2)); }
card_center_y() { echo $((RY + ROW1_TOP + CARD_SIDE / 2)); }

click_card() { kd_click "$(card_center_x "$1")" "$(card_center_y)"; }

card_is_gone() { kd_shot_pixel_is "$(card_center_x "$1")" "$(card_center_y)" "$YELLOW"; }

# A card stands at its place in the first row: its outline is exactly the
# 137-pixel square, with the window's background just outside it.
expect_card_at() {
    local k=$1 left top
    left=$(card_x "$k")
    top=$((RY + ROW1_TOP))
    local mid_x=$((left + CARD_SIDE / 2)) mid_y=$((top + CARD_SIDE / 2))
    local last=$((CARD_SIDE - 1))
    local bad=()
    kd_pixel_is $((left - 1)) "$mid_y" "$YELLOW" || bad+=("left of it")
    kd_pixel_is "$left" "$mid_y" "$YELLOW" && bad+=("its left edge")
    kd_pixel_is $((left + last)) "$mid_y" "$YELLOW" && bad+=("its right edge")
    kd_pixel_is $((left + CARD_SIDE)) "$mid_y" "$YELLOW" || bad+=("right of it")
    kd_pixel_is "$mid_x" $((top - 1)) "$YELLOW" || bad+=("above it")
    kd_pixel_is "$mid_x" "$top" "$YELLOW" && bad+=("its top edge")
    kd_pixel_is "$mid_x" $((top + last)) "$YELLOW" && bad+=("its bottom edge")
    kd_pixel_is "$mid_x" $((top + CARD_SIDE)) "$YELLOW" || bad+=("below it")
    if ((${#bad[@]} == 0)); then
        kd_pass "card $k is a ${CARD_SIDE}-pixel square at client offset (${CARD_LEFT[k]},$ROW1_TOP)"
    else
        kd_fail "card $k is not a ${CARD_SIDE}-pixel square at client offset (${CARD_LEFT[k]},$ROW1_TOP): wrong colour at ${bad[*]}"
    fi
}

# The inside of card K's face, clear of the bevel.
face() { echo "$(($(card_x "$1") + 10)) $((RY + ROW1_TOP + 10)) $((CARD_SIDE - 20)) $((CARD_SIDE - 20))"; }

log_lines() { [[ -f $exercise_log ]] && wc -l <"$exercise_log" || echo 0; }
log_has_lines() { (($(log_lines) >= $1)); }

# Waits for exercise K's line in the log and checks that the program of
# exercise K ran in exercise K's folder.
expect_exercise_started() {
    local k=$1
    if ! kd_wait_until "$KD_TIMEOUT" log_has_lines "$k"; then
        kd_fail "exercise $k did not start (log: $(tr '\n' '|' <"$exercise_log" 2>/dev/null))"
        return
    fi
    local line
    line=$(sed -n "${k}p" "$exercise_log")
    if [[ $line == "$k ${exercise_real[k - 1]}" ]]; then
        kd_pass "exercise $k ran in its own folder"
    else
        kd_fail "log line $k is '$line', expected '$k ${exercise_real[k - 1]}'"
    fi
}

test_menu() {
    local root=$KD_WORK/data
    local start=$root/start
    exercise_log=$root/exercises.log
    # Folders with spaces, a comma and Swedish letters, as a supervisor's
    # folders may well have; the three programs share one file name, so each
    # entry must start the program of its own folder.
    exercise_dirs=("$root/Övningar/första övningen" "$root/Övningar/andra, med komma"
        "$root/Övningar/tredje")
    exercise_real=()
    local k
    mkdir -p "$start" "$root/Bilder"
    for k in 1 2 3; do
        local dir=${exercise_dirs[k - 1]}
        mkdir -p "$dir"
        printf '#!/bin/sh\nprintf "%%s %%s\\n" %d "$(pwd -P)" >>"%s"\n' "$k" "$exercise_log" \
            >"$dir/starta.sh"
        chmod +x "$dir/starta.sh"
        exercise_real+=("$(cd "$dir" && pwd -P)")
    done
    convert -size 160x160 xc:magenta "$root/Bilder/belöning.png"
    kd_write_menu "$start/kelvu.ini" 0 "$root/Bilder" "belöning.png" \
        starta.sh "${exercise_dirs[0]}" starta.sh "${exercise_dirs[1]}" starta.sh "${exercise_dirs[2]}"

    kd_start kelvu "$start" "$kelvu"
    kd_wait_window kelvu Arbetsordning || kd_die "no window titled \"Arbetsordning\" appeared"
    local runner=$KD_WINDOW
    kd_pass "the window \"Arbetsordning\" appeared"

    kd_geometry "$runner"
    RX=$KD_X RY=$KD_Y
    # Wait until the window has been painted before judging the screen.
    kd_wait_pixel "$KD_TIMEOUT" $((RX + 5)) $((RY + 5)) "$YELLOW" ||
        kd_fail "the window's background never turned light yellow"
    kd_screenshot start

    # Geometry of the window.
    if ((KD_W == CLIENT_W && KD_H == CLIENT_H)); then
        kd_pass "the client area is ${CLIENT_W}x${CLIENT_H}"
    else
        kd_fail "the client area is ${KD_W}x${KD_H}, expected ${CLIENT_W}x${CLIENT_H}"
    fi
    local want_x=$(((KD_SCREEN_WIDTH - CLIENT_W) / 2)) want_y=$(((KD_SCREEN_HEIGHT - CLIENT_H) / 2))
    # An odd difference leaves half a pixel that may go either way.
    if ((RX >= want_x && RX <= want_x + 1 && RY >= want_y && RY <= want_y + 1)); then
        kd_pass "the client area is centred on the screen at ($RX,$RY)"
    else
        kd_fail "the client area is at ($RX,$RY), centred would be ($want_x,$want_y)"
    fi

    # The backdrop: another window of the program, frameless and covering the
    # whole screen; the runner is shown in front of it and has the focus.
    local w backdrop=
    for w in $(kd_windows kelvu); do
        [[ $w == "$runner" ]] && continue
        kd_geometry "$w"
        if ((KD_X == 0 && KD_Y == 0 && KD_W == KD_SCREEN_WIDTH && KD_H == KD_SCREEN_HEIGHT)); then
            backdrop=$w
        fi
    done
    kd_check "a frameless backdrop window of the program covers the screen" test -n "$backdrop"
    expect_black_screen "at start"
    kd_check "the runner window is the active window" kd_is_active "$runner"

    # Colours and cards.
    local point px py
    for point in "5 5" "$((CLIENT_W - 6)) 5" "5 $((CLIENT_H - 6))" \
        "$((CLIENT_W - 6)) $((CLIENT_H - 6))" "317 234"; do
        read -r px py <<<"$point"
        kd_expect_pixel "the window's background at ($px,$py) is light yellow" \
            $((RX + px)) $((RY + py)) "$YELLOW"
    done
    for k in 0 1 2 3; do expect_card_at "$k"; done
    for k in 0 1 2 3; do
        kd_expect_pixel "there is no card in the second row under card $k" \
            "$(card_center_x "$k")" $((RY + ROW2_TOP + CARD_SIDE / 2)) "$YELLOW"
    done
    local ink digit status
    for k in 0 1 2; do
        # shellcheck disable=SC2046
        ink=$(kd_fraction $(face "$k") 'lightness<0.3')
        if awk -v f="$ink" 'BEGIN { exit !(f > 0.03 && f < 0.6) }'; then
            kd_pass "card $k carries a dark caption ($ink of its face)"
        else
            kd_fail "card $k shows no caption: dark share of its face is $ink"
        fi
        # shellcheck disable=SC2046
        kd_crop $(face "$k") "$KD_WORK/face-$k.png"
        # shellcheck disable=SC2046
        digit=$(kd_face_digit $(face "$k"))
        kd_check "card $k shows the digit $((k + 1)) (read ${digit:-nothing})" test "$digit" = $((k + 1))
    done
    for pair in "0 1" "0 2" "1 2"; do
        read -r a b <<<"$pair"
        status=0
        compare -metric AE "$KD_WORK/face-$a.png" "$KD_WORK/face-$b.png" null: 2>/dev/null || status=$?
        case $status in
            0) kd_fail "cards $a and $b show the same face; their digits should differ" ;;
            1) kd_pass "cards $a and $b show different digits" ;;
            *) kd_fail "compare could not compare the faces of cards $a and $b (status $status)" ;;
        esac
    done
    local reward
    # shellcheck disable=SC2046
    reward=$(kd_fraction $(face 3) 'r>0.99 && g<0.01 && b>0.99')
    if awk -v f="$reward" 'BEGIN { exit !(f > 0.95) }'; then
        kd_pass "the reward card shows the magenta picture"
    else
        kd_fail "the reward card's face is only $reward magenta"
    fi

    # Card 1 before card 0, and the reward picture, do nothing. The click on
    # card 0 that follows shows that those clicks have been handled: a card
    # that started an exercise would have gone first.
    click_card 1
    click_card 3
    click_card 0
    kd_wait_until "$KD_TIMEOUT" card_is_gone 0 || kd_fail "card 0 did not disappear when clicked"
    kd_screenshot after-card-0
    kd_expect_not_pixel "card 1, clicked out of turn, is still there" \
        "$(card_center_x 1)" "$(card_center_y)" "$YELLOW"
    kd_expect_pixel "the reward picture, clicked too early, is still there" \
        "$(card_center_x 3)" "$(card_center_y)" "$MAGENTA"
    kd_check "the runner is still running after the early click on the reward" kd_running kelvu
    expect_exercise_started 1

    click_card 3
    click_card 2
    click_card 1
    kd_wait_until "$KD_TIMEOUT" card_is_gone 1 || kd_fail "card 1 did not disappear when clicked"
    kd_screenshot after-card-1
    kd_expect_not_pixel "card 2, clicked out of turn, is still there" \
        "$(card_center_x 2)" "$(card_center_y)" "$YELLOW"
    kd_check "the runner is still running with one exercise left" kd_running kelvu
    expect_exercise_started 2

    # A click on the black area leaves the runner in front and active: the
    # next click on card 2 still reaches it.
    kd_click 5 5
    click_card 2
    kd_wait_until "$KD_TIMEOUT" card_is_gone 2 ||
        kd_fail "card 2 did not disappear when clicked after a click on the black area"
    kd_screenshot after-card-2
    kd_check "after a click on the black area the runner is the active window" kd_is_active "$runner"
    kd_expect_pixel "after a click on the black area the reward picture is in front" \
        "$(card_center_x 3)" "$(card_center_y)" "$MAGENTA"
    expect_black_screen "after a click on the black area"
    expect_exercise_started 3

    kd_click $((KD_SCREEN_WIDTH - 1)) $((KD_SCREEN_HEIGHT - 1))
    kd_screenshot after-black-click
    kd_check "after a second click on the black area the runner is the active window" \
        kd_is_active "$runner"
    kd_expect_pixel "after a second click on the black area the reward picture is in front" \
        "$(card_center_x 3)" "$(card_center_y)" "$MAGENTA"

    # The reward picture ends the runner.
    click_card 3
    if kd_wait_exit kelvu "$KD_TIMEOUT"; then
        if [[ $KD_STATUS == 0 ]]; then
            kd_pass "a click on the reward picture ends the runner with status 0"
        else
            kd_fail "the runner ended with status $KD_STATUS after the reward picture"
        fi
    else
        kd_fail "the runner did not end after a click on the reward picture"
    fi
    expect_screen_cleared

    local expected
    expected=$(printf '%s %s\n' 1 "${exercise_real[0]}" 2 "${exercise_real[1]}" 3 "${exercise_real[2]}")
    if [[ $(<"$exercise_log") == "$expected" ]]; then
        kd_pass "each exercise was started once, in menu order"
    else
        kd_fail "the exercises started were: $(tr '\n' '|' <"$exercise_log")"
    fi
}

# --- no menu file -------------------------------------------------------------

no_runner_window() { ! kd_has_window kelvu Arbetsordning; }
begins_with() { [[ $1 == "$2"* ]]; }
# any_contains TEXT STRING...: one of the strings holds the text.
any_contains() {
    local want=$1 s
    shift
    for s in "$@"; do [[ $s == *"$want"* ]] && return 0; done
    return 1
}

# The program's first visible dialog window.
find_dialog() {
    local w
    for w in $(kd_windows kelvu); do
        if [[ $(kd_window_type "$w") == *_NET_WM_WINDOW_TYPE_DIALOG* ]]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

test_missing_menu() {
    local start=$KD_WORK/data/start
    mkdir -p "$start"

    kd_start kelvu "$start" "$kelvu"
    kd_wait_until "$KD_TIMEOUT" find_dialog >/dev/null ||
        kd_die "no message window appeared for the missing kelvu.ini"
    local dialog
    dialog=$(find_dialog)
    kd_pass "a message window appeared"
    kd_check "the message window's title is \"Kelvu\"" \
        test "$(xdotool getwindowname "$dialog")" = Kelvu
    kd_geometry "$dialog"
    local dx=$KD_X dy=$KD_Y dw=$KD_W dh=$KD_H
    # Wait until it has been painted: its top left corner is not black.
    kd_wait_until "$KD_TIMEOUT" kd_shot_pixel_is_not $((dx + 2)) $((dy + 2)) "$BLACK" ||
        kd_fail "the message window was never painted"
    kd_screenshot message
    expect_black_screen "behind the message"
    kd_check "the runner window is not shown" no_runner_window
    kd_check "the message window is the active window" kd_is_active "$dialog"

    # The message text: select each line of text with a triple click and read
    # it back from the primary selection. The icon's column and the button row
    # are left out.
    local texts=() line_y line_x
    while read -r line_y line_x; do
        kd_move $((line_x + 10)) "$line_y"
        xdotool click --repeat 3 --delay 80 1
        texts+=("$(kd_primary_selection)")
    done < <(kd_text_lines $((dx + 56)) "$dy" $((dw - 60)) $((dh - 45)))
    kd_log "message lines: $(printf '[%s] ' "${texts[@]}")"
    kd_check "the message begins with \"Körfel 53\"" begins_with "${texts[0]:-}" "Körfel 53"
    kd_check "the message names the file kelvu.ini" any_contains "/kelvu.ini" "${texts[@]}"


    kd_check "the runner waits while the message is open" kd_running kelvu
    kd_is_active "$dialog" || timeout 10 xdotool windowactivate --sync "$dialog" || true
    xdotool key Return
    if kd_wait_exit kelvu "$KD_TIMEOUT"; then
        if [[ $KD_STATUS != 0 ]]; then
            kd_pass "after the message the runner ends with a failure status ($KD_STATUS)"
        else
            kd_fail "the runner ended with status 0 after the error message"
        fi
    else
        kd_fail "the runner did not end when the message was answered with Return"
    fi
    expect_screen_cleared
}

case $scenario in
    menu) test_menu ;;
    missing-menu) test_missing_menu ;;
esac
kd_finish
