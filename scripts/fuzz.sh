#!/usr/bin/env bash
# Fuzzes every reader of outside input (tests/fuzz/*_fuzz.cpp) with libFuzzer under the address
# and undefined-behaviour checks, starting from real files.
#   scripts/fuzz.sh [--brief] [--runs N] [--seconds S] [target...]
# Default: each target until 1,000,000 executions or 10 minutes, whichever comes first, with a
# table of executions per target (also added to out/fuzz/report.txt). --brief: a few seconds
# each, as ./test.sh does, to catch a regression. Findings land in out/fuzz/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=1000000 seconds=600 brief=0 targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --brief) brief=1 runs=-1 seconds=4 ;;
    --runs) runs=$2; shift ;;
    --seconds) seconds=$2; shift ;;
    *) targets+=("$1") ;;
  esac
  shift
done
tree=out/build/fuzz work=out/fuzz
[ ${#targets[@]} -gt 0 ] || targets=($(ls tests/fuzz/*_fuzz.cpp | xargs -n1 basename | sed 's/\.cpp$//'))

# Small pictures of every kind our loaders meet, written by a real encoder, plus the shipped ones.
image_seeds() {  # format folder
  local dir=$work/seeds/$1
  [ -f "$dir/.done" ] && return 0
  mkdir -p "$dir"
  case $1 in
    bmp) convert -size 9x4 gradient:red-blue -type palette BMP3:"$dir/palette.bmp"
         convert -size 9x4 xc:black -type bilevel BMP3:"$dir/mono.bmp"
         convert -size 6x6 gradient:none-red BMP:"$dir/alpha.bmp"
         for kind in BMP2 BMP3 BMP; do convert -size 7x5 gradient:red-blue $kind:"$dir/$kind.bmp"; done
         cp out/gen/images/*.bmp "$dir/" 2>/dev/null || true ;;
    png) convert -size 8x6 gradient:red-blue "$dir/rgb.png"
         convert -size 8x6 gradient:none-red "$dir/rgba.png"
         convert -size 8x6 gradient:black-white -colorspace gray "$dir/gray.png"
         convert -size 8x6 gradient:red-blue -type palette PNG8:"$dir/palette.png"
         convert -size 8x6 gradient:red-blue -interlace PNG "$dir/interlaced.png"
         convert -size 8x6 gradient:red-blue -depth 16 PNG48:"$dir/deep.png" ;;
    jpeg) convert -size 16x12 gradient:red-blue "$dir/baseline.jpg"
         convert -size 16x12 gradient:red-blue -interlace JPEG "$dir/progressive.jpg"
         convert -size 16x12 gradient:black-white -colorspace gray "$dir/gray.jpg"
         convert -size 17x9 gradient:red-blue -sampling-factor 2x2 -quality 50 "$dir/subsampled.jpg"
         convert -size 16x12 gradient:red-blue -colorspace CMYK "$dir/cmyk.jpg"
         for skin in Skins/*/; do convert "$skin/background.jpg" -resize 40x40 "$dir/$(basename "$skin").jpg"; done ;;
    ico) cp out/gen/images/*.ico "$dir/" 2>/dev/null || true
         convert -size 16x16 gradient:none-red "$dir/made.ico" ;;
  esac
  touch "$dir/.done"
}

# The corpus a target starts from: the seeds kept in the repository, and for the readers of
# files that exist, such files.
seed_folders() {  # target
  local name=${1%_fuzz}
  case $name in
    image_*) image_seeds "${name#image_}"; echo "$work/seeds/${name#image_}" ;;
    skin) echo Skins/*/ ;;
    preferences) echo tests/fuzz/seeds/preferences Skins/*/ ;;
    *) echo "tests/fuzz/seeds/$name" ;;
  esac
}

# Longest input tried: the text files the program reads are a few kilobytes; pictures need room
# for their headers, tables and some pixel data.
max_length() {  # target
  case $1 in image_*) echo 65536 ;; *) echo 8192 ;; esac
}

run_target() {  # target -> prints "target executions seconds result"
  local target=$1 corpus=$work/corpus/$1 findings=$work/findings/$1 log=$work/logs/$1.log
  mkdir -p "$corpus" "$findings" "$work/logs"
  local status=0
  # Only regular files are read from the seed folders (skin folders hold their own pictures).
  # shellcheck disable=SC2046
  "$tree/$target" -runs="$runs" -max_total_time="$seconds" -max_len="$(max_length "$target")" -rss_limit_mb=3072 -timeout=20 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" $(seed_folders "$target") >"$log" 2>&1 || status=$?
  local executions time
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  time=$(sed -n 's/.*Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  [ -n "$time" ] || time=$seconds
  if [ "$status" = 0 ]; then
    printf '%-26s %10s %6s s  no finding\n' "$target" "${executions:-?}" "$time"
  else
    printf '%-26s %10s %6s s  FINDING, see %s\n' "$target" "${executions:-?}" "$time" "$log"
    grep -m3 -E 'ERROR|runtime error|deadly signal' "$log" >&2 || true
    return 1
  fi
}

[ $brief = 1 ] || scripts/build.sh fuzz  # ./test.sh has built it before the brief runs
failed=0
report=$work/report.txt
mkdir -p "$work"
[ $brief = 1 ] || { echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD), $(nproc) cores, $(clang --version | head -1)"; printf '%-26s %10s %8s\n' target executions time; } | tee -a "$report"
for target in "${targets[@]}"; do
  if [ $brief = 1 ]; then run_target "$target" || failed=1
  else run_target "$target" | tee -a "$report" || failed=1
  fi
done
exit $failed
