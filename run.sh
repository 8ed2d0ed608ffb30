#!/usr/bin/env bash
# Sets up what is missing, builds, and shows Kestrivalume under Wine with a demo Start menu.
# On a desktop ($DISPLAY set) the program stays until you quit it; without one it runs on a
# virtual display just long enough to save screenshots of the menu, its programs page and the
# settings window in out/screenshots/ (scripts/demo.sh).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
exec scripts/demo.sh
