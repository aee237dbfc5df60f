#!/usr/bin/env bash
# The project's tests: configures with the "ci" preset (warnings are errors),
# builds, installs into build/install-prefix and runs every test, the widget
# tests and the real-display tests of the installed programs.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh test
cmake --preset ci
cmake --build --preset ci
cmake --install build --prefix build/install-prefix
status=0
ctest --preset ci || status=$?
# ctest lists a skipped test without its reason; each says why on one line
# (pytest's summary line for a skipped display test starts with SKIPPED).
awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 } /^SKIP(PED)?[: ]/ { print name ": " $0 }' \
  build/Testing/Temporary/LastTest.log
exit "$status"
