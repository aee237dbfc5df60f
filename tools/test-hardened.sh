#!/usr/bin/env bash
# The checks that bad input cannot break the programs, after tools/test.sh:
# the widget tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (the "asan" preset), and the menu reader's fuzz target for a bounded time
# (the "fuzz" preset, KELVU_FUZZ_SECONDS, 40 unless set).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

start=$SECONDS
cmake --preset asan
# The widget tests' programs only: the programs themselves run in no test here.
cmake --build --preset asan --target kelvu_widget_tests
ctest --preset asan
echo "Sanitizer build and widget tests: $((SECONDS - start)) s"

start=$SECONDS
cmake --preset fuzz -DKELVU_FUZZ_SECONDS="${KELVU_FUZZ_SECONDS:-40}"
cmake --build --preset fuzz
ctest --preset fuzz --verbose
echo "Fuzz target build and run: $((SECONDS - start)) s"
