#!/usr/bin/env bash
# Builds the native tree (logic, generated images, tests) and then both Windows trees.
# Incremental: a second run rebuilds only what changed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${KV_CACHE:-$HOME/.cache/kestrivalume}
cd "$here"

configure() {  # build-dir, extra cmake args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] && return 0
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
