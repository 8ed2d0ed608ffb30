#!/usr/bin/env bash
# Builds the native tree (logic, generated images, tests), both Windows trees and the fuzzing
# tree (clang with the sanitizers). Incremental: a second run rebuilds only what changed.
#   scripts/build.sh [native|i686|x86_64|fuzz ...]   (default: all of them)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${KV_CACHE:-$HOME/.cache/kestrivalume}
cd "$here"

configure() {  # build-dir, extra cmake args...
  local dir=$1; shift
  # A changed toolchain file needs a new tree: CMake never re-detects compilers.
  local stamp
  stamp=$(cat cmake/mingw-*.cmake | md5sum | cut -c1-32)
  [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/.toolchain-stamp" 2>/dev/null)" = "$stamp" ] && return 0
  rm -rf "$dir"
  mkdir -p "$dir"
  echo "$stamp" >"$dir/.toolchain-stamp"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; exit 1; }
}

build() {  # build-dir
  cmake --build "$1" -- --quiet | { grep -v '^ninja: no work to do' || true; }
  [ "${PIPESTATUS[0]}" = 0 ]
}

mkdir -p out/build
if [ $# -gt 0 ]; then trees=("$@"); else trees=(native i686 x86_64 fuzz); fi
for tree in "${trees[@]}"; do
  case $tree in
    native) configure out/build/native ;;
    i686|x86_64) configure "out/build/$tree" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$tree.cmake" \
                   -DKV_DEPS="$cache/deps/$tree" ;;
    fuzz) configure out/build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
            -DCMAKE_CXX_COMPILER=clang++ -DKV_FUZZ=ON ;;
    *) echo "build: unknown tree $tree" >&2; exit 2 ;;
  esac
  build "out/build/$tree"
done
# The help document, only from screenshots already taken (scripts/release.sh takes them).
[ $# -gt 0 ] || scripts/help_document.sh --cached
