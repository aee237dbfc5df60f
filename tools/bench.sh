#!/usr/bin/env bash
# The benchmarks: builds what they need, then measures on a private Xvfb
# server with openbox, at two screen sizes, Kelvu's and Kelvuadm's start-up
# and peak memory beside a bare Qt window measured alternately in the same
# run, the time from a card click to a running exercise, and the menu
# reader's throughput. Prints one table; bench/README.md says what each
# figure means.
#
#   tools/bench.sh [--quick]     --quick: two runs, to prove it works
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
top=$PWD

runs=11 click_rounds=5 reader_options=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
if [[ ${1:-} == --quick ]]; then
    runs=2 click_rounds=1 reader_options=(--benchmark_min_time=0.01)
elif [[ -n ${1:-} ]]; then
    echo "usage: $0 [--quick]" >&2
    exit 2
fi
# How long a program runs after its window has been painted before it is
# ended; the peak memory covers that time.
hold_ms=300

tools/install-deps.sh test
# Quiet unless something fails.
if ! log=$({ [[ -f build/CMakeCache.txt ]] || cmake --preset default; } 2>&1 &&
    cmake --build build --target kelvu kelvuadm bench_bare_window bench_first_paint \
        bench_click_to_exercise bench_exercise bench_menu_reader bench_startup_phases 2>&1); then
    printf '%s\n' "$log" >&2
    exit 1
fi
bin=$top/build

export KELVU_DISPLAY_ARTIFACTS=$top/build/bench-artifacts
# shellcheck source=../tests/display/lib.sh
source "$top/tests/display/lib.sh"
kd_init bench
kd_require_tools Xvfb xdpyinfo xprop openbox convert

# The demo menu: three exercises, Pictogram cards, a reward picture.
menu=$KD_WORK/demo
cp -r demo "$menu"
sed "s|@DEMO@|$menu|g" demo/kelvu.ini.in >"$menu/kelvu.ini"
# The same with a photo as the reward picture: 4000 x 3000 pixels, JPEG.
photo_menu=$KD_WORK/photo
cp -r demo "$photo_menu"
convert -seed 1 -size 4000x3000 plasma:fractal -quality 90 "$photo_menu/bilder/foto.jpg"
sed "s|@DEMO@|$photo_menu|g; s|stjarna.bmp|foto.jpg|" demo/kelvu.ini.in >"$photo_menu/kelvu.ini"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# One launch: "milliseconds KiB" of the program, first painted window and
# peak memory.
# launch NAME: measures one start of a program; LAUNCH_MS and LAUNCH_KIB are
# its figures. "text" is the bare window with a line of text, "photo" the
# runner with a photo as the reward picture.
launch() {
    local command=() out folder=$menu
    case $1 in
        bare) command=("$bin/bench/bench_bare_window") ;;
        text) command=("$bin/bench/bench_bare_window" --text) ;;
        kelvu) command=("$bin/runner/kelvu") ;;
        photo) command=("$bin/runner/kelvu") folder=$photo_menu ;;
        kelvuadm) command=("$bin/supervisor/kelvuadm") ;;
    esac
    out=$("$bin/bench/bench_first_paint" "$folder" "$hold_ms" ffff80 5 5 "${command[@]}") ||
        kd_die "could not measure $1"
    read -r LAUNCH_MS LAUNCH_KIB <<<"$out"
}
compared=(kelvu kelvuadm text photo)
rows=()

# measure_size WIDTH HEIGHT: runs the alternating measurements on a screen of
# that size and adds two table rows per program.
measure_size() {
    KD_SCREEN_WIDTH=$1 KD_SCREEN_HEIGHT=$2
    kd_start_display >/dev/null
    kd_start_wm >/dev/null
    local name run order
    for name in bare "${compared[@]}"; do launch "$name"; done # warm-up
    declare -A times=() memory=() bare_times=() bare_memory=()
    for ((run = 0; run < runs; run++)); do
        # Each program is paired with the bare window measured just before
        # it; the order turns round every run, so drift in the load cancels.
        order=("${compared[@]}")
        ((run % 2 == 0)) || order=(photo text kelvuadm kelvu)
        for name in "${order[@]}"; do
            launch bare
            bare_times[$name]+="$LAUNCH_MS " bare_memory[$name]+="$LAUNCH_KIB "
            launch "$name"
            times[$name]+="$LAUNCH_MS " memory[$name]+="$LAUNCH_KIB "
        done
    done
    for name in "${compared[@]}"; do
        rows+=("$(row "${1}x$2" "$name" "start-up ms" "${times[$name]}" "${bare_times[$name]}")")
        rows+=("$(row "${1}x$2" "$name" "peak memory KiB" "${memory[$name]}" "${bare_memory[$name]}")")
    done
    [[ $1 == 1280 ]] && measure_clicks && measure_phases
    kd_stop openbox
    kd_stop xvfb
}

# row SCREEN PROGRAM WHAT VALUES BARE_VALUES: medians, their ratio and the
# lowest and highest of the pairwise ratios.
row() {
    local m b
    m=$(tr ' ' '\n' <<<"$4" | grep . | median)
    b=$(tr ' ' '\n' <<<"$5" | grep . | median)
    paste -d' ' <(tr ' ' '\n' <<<"$4" | grep .) <(tr ' ' '\n' <<<"$5" | grep .) |
        awk -v s="$1" -v p="$2" -v w="$3" -v m="$m" -v b="$b" '
            { r = $1 / $2; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
            END { printf "%-10s %-9s %-16s %10s %10s %6.2f   %.2f-%.2f\n", s, p, w, m, b, m / b, lo, hi }'
}

click_lines=
measure_clicks() {
    local out="$KD_WORK/clicks.txt"
    (cd "$KD_WORK" && "$bin/bench/bench_click_to_exercise" "$bin/bench/bench_exercise" \
        "$click_rounds") >"$out" || kd_die "the click benchmark failed"
    figures() { awk -v kind="$1" -v column="$2" '$1 == kind { print $column }' "$out" | sort -g; }
    click_lines=$(
        printf 'click to running exercise: median %s ms of %d clicks (%s to %s ms)\n' \
            "$(figures click 2 | median)" "$(figures click 2 | wc -l)" "$(figures click 2 | head -n1)" \
            "$(figures click 2 | tail -n1)"
        printf '  the click in the runner: median %s ms, of which the press (card drawn pressed) %s ms\n' \
            "$(figures click 3 | median)" "$(figures click 4 | median)"
        printf '  QProcess::startDetached alone: median %s ms of %d starts (%s to %s ms)\n' \
            "$(figures direct 2 | median)" "$(figures direct 2 | wc -l)" "$(figures direct 2 | head -n1)" \
            "$(figures direct 2 | tail -n1)"
    )
}

# The steps of each program's start-up, medians of as many starts as runs.
phase_lines=
measure_phases() {
    local name run out="$KD_WORK/phases.txt" line
    for name in kelvu kelvuadm; do
        for ((run = 0; run < runs; run++)); do
            (cd "$menu" && "$bin/bench/bench_startup_phases" "$name") ||
                kd_die "the start-up steps of $name could not be measured"
        done >"$out"
        line=$(for field in 2 4 6 8 10 12; do
            printf '%s %s, ' "$(awk -v f="$field" '{ print $(f - 1) }' "$out" | head -n1)" \
                "$(awk -v f="$field" '{ print $f }' "$out" | median)"
        done)
        phase_lines+=$(printf 'start-up steps of %s, ms: %s\n' "$name" "${line%, }")$'\n'
    done
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
measure_size 1280 1024
measure_size 3840 2160
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

reader=$(QT_QPA_PLATFORM=offscreen "$bin/bench/bench_menu_reader" --benchmark_format=csv \
    "${reader_options[@]}" 2>/dev/null |
    awk -F, '/^"(read_menu|start_up)\// && ($1 !~ /_(mean|stddev|cv)"$/) {
        gsub(/"/, "", $1); sub(/_median$/, "", $1)
        if ($6 != "") printf "%-24s %9.1f us per menu, %7.1f MB/s\n", $1 ":", $3 / 1000, $6 / 1e6
        else printf "%-24s %9.1f us\n", $1 ":", $3 / 1000 }')

printf 'Kelvu benchmarks, %s, %s cores, load average %s before, %s after; %d runs after a warm-up\n' \
    "$(date -u '+%Y-%m-%d %H:%M UTC')" "$(nproc)" "$load_before" "$load_after" "$runs"
printf '%-10s %-9s %-16s %10s %10s %6s   %s\n' screen program figure median bare ratio "pairwise ratios"
printf '%s\n' "${rows[@]}"
printf '%s\n' "$click_lines"
printf '%s' "$phase_lines"
printf '%s\n' "$reader"
