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
bin=$top/build
# How long a program runs after its window has been painted before it is
# ended; the peak memory covers that time.
hold_ms=300

die() {
    echo "bench: $*" >&2
    exit 1
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# --- the measurements on one screen -------------------------------------------
# Run by this script itself on a private X server (see measure_size below):
#   bench.sh --on-display WORK WIDTH HEIGHT RUNS CLICK_ROUNDS
# Writes its table rows and, at 1280 x 1024, the click and start-up lines
# into WORK.
if [[ ${1:-} == --on-display ]]; then
    work=$2 width=$3 height=$4 runs=$5 click_rounds=$6
    menu=$work/demo photo_menu=$work/photo

    # launch NAME: measures one start of a program; LAUNCH_MS and LAUNCH_KIB
    # are its first painted window and peak memory. "text" is the bare window
    # with a line of text, "photo" the runner with a photo as reward picture.
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
            die "could not measure $1"
        read -r LAUNCH_MS LAUNCH_KIB <<<"$out"
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

    measure_clicks() {
        local out="$work/clicks.txt"
        (cd "$work" && "$bin/bench/bench_click_to_exercise" "$bin/bench/bench_exercise" \
            "$click_rounds") >"$out" || die "the click benchmark failed"
        figures() { awk -v kind="$1" -v column="$2" '$1 == kind { print $column }' "$out" | sort -g; }
        printf 'click to running exercise: median %s ms of %d clicks (%s to %s ms)\n' \
            "$(figures click 2 | median)" "$(figures click 2 | wc -l)" "$(figures click 2 | head -n1)" \
            "$(figures click 2 | tail -n1)"
        printf '  the click in the runner: median %s ms, of which the press (card drawn pressed) %s ms\n' \
            "$(figures click 3 | median)" "$(figures click 4 | median)"
        printf '  QProcess::startDetached alone: median %s ms of %d starts (%s to %s ms)\n' \
            "$(figures direct 2 | median)" "$(figures direct 2 | wc -l)" "$(figures direct 2 | head -n1)" \
            "$(figures direct 2 | tail -n1)"
    }

    # The steps of each program's start-up, medians of as many starts as runs.
    measure_phases() {
        local name run out="$work/phases.txt" line
        for name in kelvu kelvuadm; do
            for ((run = 0; run < runs; run++)); do
                (cd "$menu" && "$bin/bench/bench_startup_phases" "$name") ||
                    die "the start-up steps of $name could not be measured"
            done >"$out"
            line=$(for field in 2 4 6 8 10 12; do
                printf '%s %s, ' "$(awk -v f="$field" '{ print $(f - 1) }' "$out" | head -n1)" \
                    "$(awk -v f="$field" '{ print $f }' "$out" | median)"
            done)
            printf 'start-up steps of %s, ms: %s\n' "$name" "${line%, }"
        done
    }

    compared=(kelvu kelvuadm text photo)
    for name in bare "${compared[@]}"; do launch "$name"; done # warm-up
    declare -A times=() memory=() bare_times=() bare_memory=()
    for ((run = 0; run < runs; run++)); do
        # Each program is paired with the bare window measured just before it;
        # the order turns round every run, so drift in the load cancels.
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
        row "${width}x$height" "$name" "start-up ms" "${times[$name]}" "${bare_times[$name]}"
        row "${width}x$height" "$name" "peak memory KiB" "${memory[$name]}" "${bare_memory[$name]}"
    done >>"$work/rows.txt"
    if ((width == 1280)); then
        measure_clicks >"$work/click-lines.txt"
        measure_phases >"$work/phase-lines.txt"
    fi
    exit 0
fi

# --- the whole run ---------------------------------------------------------------
runs=11 click_rounds=5 reader_options=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
if [[ ${1:-} == --quick ]]; then
    runs=2 click_rounds=1 reader_options=(--benchmark_min_time=0.01)
elif [[ -n ${1:-} ]]; then
    echo "usage: $0 [--quick]" >&2
    exit 2
fi

tools/install-deps.sh test
# Quiet unless something fails.
if ! log=$(cmake --preset default -DKELVU_BENCHMARKS=ON 2>&1 &&
    cmake --build build --target kelvu kelvuadm bench_bare_window bench_first_paint \
        bench_click_to_exercise bench_exercise bench_menu_reader bench_startup_phases 2>&1); then
    printf '%s\n' "$log" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvu-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The demo menu: three exercises, Pictogram cards, a reward picture.
tools/demo-menu.sh "$work/demo"
# The same with a photo as the reward picture: 4000 x 3000 pixels, JPEG.
tools/demo-menu.sh "$work/photo" foto.jpg
convert -seed 1 -size 4000x3000 plasma:fractal -quality 90 "$work/photo/bilder/foto.jpg"

# measure_size WIDTH HEIGHT: the measurements above on a private X server of
# that size, with openbox.
measure_size() {
    PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$top/tests/display /usr/bin/python3 \
        -m kelvu_display.session --size "${1}x$2" -- \
        "$top/tools/bench.sh" --on-display "$work" "$1" "$2" "$runs" "$click_rounds" ||
        die "the measurements at ${1}x$2 failed"
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
cat "$work/rows.txt"
# The programs against the floor with text, the bare window showing a line:
# both programs show text, the bare window none.
awk '$3 == "start-up" { median[$1, $2] = $5; screens[$1] = 1 }
    END { for (s in screens) printf "%s start-up against text: kelvu %.2f, kelvuadm %.2f\n", s,
          median[s, "kelvu"] / median[s, "text"], median[s, "kelvuadm"] / median[s, "text"] }' \
    "$work/rows.txt" | sort
cat "$work/click-lines.txt" "$work/phase-lines.txt"
printf '%s\n' "$reader"
