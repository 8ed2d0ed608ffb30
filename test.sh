#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test (unit and end-to-end).
# Extra arguments go to ctest, e.g.  ./test.sh -R Strings  or  ./test.sh -L e2e
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
cd out/build/native
ctest --output-on-failure "$@"
