#!/usr/bin/env bash
# Sets up what is missing, builds, and shows Kestrivalume under Wine with a demo Start menu.
# On a desktop ($DISPLAY set) the program stays until you quit it; without one it runs on a
# virtual display just long enough to save a screenshot in out/screenshots/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
exec scripts/demo.sh
