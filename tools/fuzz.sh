#!/usr/bin/env bash
# Fuzzes the menu reader for a while: builds the fuzz target with the "fuzz"
# preset (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs it on a fresh copy of the seed corpus in fuzz/corpus.
#
#   tools/fuzz.sh [SECONDS]    default 1800 (half an hour)
#
# The figures (executions, corpus, coverage) are printed at the end; inputs
# that break the reader are kept in build-fuzz/fuzz/long/findings/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-1800}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
fuzz/run-fuzzer.sh build-fuzz/fuzz/kelvu_menu_fuzzer "$seconds" build-fuzz/fuzz/long fuzz/corpus
