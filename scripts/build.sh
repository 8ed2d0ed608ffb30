#!/usr/bin/env bash
# Builds the native tree (logic, generated images, tests) and then both Windows trees.
# Incremental: a second run rebuilds only what changed.
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
configure out/build/native
build out/build/native
for arch in i686 x86_64; do
  configure "out/build/$arch" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
    -DKV_DEPS="$cache/deps/$arch"
  build "out/build/$arch"
done
# The help document, only from screenshots already taken (scripts/release.sh takes them).
scripts/help_document.sh --cached
