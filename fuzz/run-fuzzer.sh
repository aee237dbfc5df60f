#!/usr/bin/env bash
# Runs the menu fuzz target for a given time on a fresh copy of the seed
# corpus, and prints the figures: executions, corpus size, coverage.
# Usage: run-fuzzer.sh FUZZER SECONDS WORKDIR SEEDDIR
set -euo pipefail
fuzzer=$1 seconds=$2 work=$3 seeds=$4

rm -rf "$work"
mkdir -p "$work/corpus" "$work/findings"
# New inputs go into the working corpus; the seeds in the repository stay as
# they are. A single input may take at most 5 s, and memory is bounded.
# The target writes and reads files for each input: a memory-backed folder
# keeps the disk out of it where there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$work/findings/" \
  "$work/corpus" "$seeds" >"$work/log" 2>&1 || status=$?
grep -E '^#[0-9]+.*DONE|^stat::|^INFO: seed corpus' "$work/log" || true
tail -n 3 "$work/log" | grep -E 'DONE|Done' || true
echo "Corpus: $(find "$work/corpus" -type f | wc -l) new inputs, $(find "$seeds" -type f | wc -l) seeds"
if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/findings")" ]; then
  echo "Fuzzing found a fault (status $status); the log is $work/log:" >&2
  tail -n 60 "$work/log" >&2
  exit 1
fi
