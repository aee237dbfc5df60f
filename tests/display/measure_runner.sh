#!/usr/bin/env bash
# Measures the installed runner "kelvu" on Xvfb with openbox: the time from
# starting the program to its first window on the screen (the backdrop) and
# to the window "Arbetsordning", and the peak memory (maximum resident set
# size) of a run that starts three exercises and ends on the reward picture.
# Not a test: it prints the numbers of each run and their medians.
#
#   KELVU_PREFIX=build/install-prefix tests/display/measure_runner.sh [RUNS]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

runs=${1:-7}
kd_init measure-runner
kd_require_tools Xvfb xdpyinfo xprop xwininfo openbox xdotool import convert /usr/bin/time
kelvu=$(kd_program kelvu)
export QT_QPA_PLATFORM=xcb

kd_start_display
kd_start_wm

root=$KD_WORK/data
mkdir -p "$root/start" "$root/bilder"
exercises=()
for k in 1 2 3; do
    mkdir -p "$root/ex$k"
    printf '#!/bin/sh\nexit 0\n' >"$root/ex$k/run.sh"
    chmod +x "$root/ex$k/run.sh"
    exercises+=(run.sh "$root/ex$k")
done
convert -size 160x160 xc:magenta "$root/bilder/reward.png"
kd_write_menu "$root/start/kelvu.ini" 0 "$root/bilder" reward.png "${exercises[@]}"

# Milliseconds, to a tenth, between two kd_now stamps.
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) / 1000 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

first_window() { xdotool search --onlyvisible --classname '^kelvu$' >/dev/null 2>&1; }
runner_window() { xdotool search --onlyvisible --name '^Arbetsordning$' >/dev/null 2>&1; }
# poll_fast COMMAND...: runs the command without a pause until it succeeds,
# for at most KD_TIMEOUT seconds.
poll_fast() {
    local deadline=$(($(kd_now) + KD_TIMEOUT * 1000000))
    until "$@"; do
        (($(kd_now) < deadline)) || kd_die "gave up waiting for $*"
    done
}
runner_painted() { kd_shot_pixel_is $((RX + 5)) $((RY + 5)) "255 255 128"; }

backdrop_times=() runner_times=() rss=()
for ((run = 1; run <= runs; run++)); do
    t0=$(kd_now)
    kd_start "kelvu-$run" "$root/start" /usr/bin/time -v -o "$KD_WORK/time-$run.txt" "$kelvu"
    # Poll as finely as xdotool allows: no pause between the searches.
    poll_fast first_window
    t1=$(kd_now)
    poll_fast runner_window
    t2=$(kd_now)
    backdrop_times+=("$(ms "$t0" "$t1")")
    runner_times+=("$(ms "$t0" "$t2")")

    window=$(xdotool search --onlyvisible --name '^Arbetsordning$' | head -n1)
    kd_geometry "$window"
    RX=$KD_X RY=$KD_Y
    kd_wait_until "$KD_TIMEOUT" runner_painted || kd_die "the runner was never painted"
    for left in 24 177 331 484; do
        kd_click $((RX + left + 68)) $((RY + 100))
    done
    kd_wait_exit "kelvu-$run" "$KD_TIMEOUT" || kd_die "run $run did not end on the reward picture"
    [[ $KD_STATUS == 0 ]] || kd_die "run $run ended with status $KD_STATUS"
    rss+=("$(awk -F: '/Maximum resident set size/ { print $2 + 0 }' "$KD_WORK/time-$run.txt")")
    printf 'run %d: first window %s ms, "Arbetsordning" %s ms, peak memory %s KiB\n' \
        "$run" "${backdrop_times[-1]}" "${runner_times[-1]}" "${rss[-1]}"
done

printf 'median of %d runs: first window %s ms, "Arbetsordning" %s ms, peak memory %s KiB\n' "$runs" \
    "$(printf '%s\n' "${backdrop_times[@]}" | median)" \
    "$(printf '%s\n' "${runner_times[@]}" | median)" \
    "$(printf '%s\n' "${rss[@]}" | median)"
