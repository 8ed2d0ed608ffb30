#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test (unit, fuzz and end-to-end).
# Extra arguments go to ctest, e.g.  ./test.sh -R Strings  or  ./test.sh -L e2e
# Two tests run at a time (KV_TEST_JOBS): each Wine test has its own prefix and display, and
# most of their time is spent waiting for windows.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
cd out/build/native
ctest --output-on-failure -j "${KV_TEST_JOBS:-2}" "$@"
