#!/usr/bin/env bash
# Installs what the build and the tests need, once. Quiet when everything is there.
#   - Debian packages (MinGW-w64 for both architectures, Wine 32/64, Xvfb, xdotool, clang and
#     its libFuzzer for the fuzz targets, ...)
#   - libpng and libjpeg-turbo cross-built for both Windows architectures from Debian's
#     own source packages, cached outside the repository (KV_CACHE, default ~/.cache/kestrivalume).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${KV_CACHE:-$HOME/.cache/kestrivalume}
log="$cache/setup.log"
mkdir -p "$cache"

packages=(
  cmake ninja-build g++ pkg-config libgtest-dev libpng-dev libjpeg-dev zlib1g-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine32:i386 wine64 xvfb xauth xdotool x11-utils libxrandr2 libx11-dev imagemagick librsvg2-bin
  dpkg-dev nasm fonts-liberation fonts-wine nsis groff ghostscript poppler-utils zip unzip
  clang libclang-rt-14-dev python3-yaml
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# A mirror in the middle of a sync fails the update of one index ("File has unexpected size");
# try again a few times, then go on with what was fetched: the packages may well be there.
update_indexes() {
  local attempt
  for attempt in 1 2 3; do
    as_root apt-get update -qq >>"$log" 2>&1 && return 0
    echo "setup: apt-get update failed (attempt $attempt), see $log" >&2
    sleep $((attempt * 5))
  done
  echo "setup: going on with the package indexes apt has" >&2
}

apt_install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "setup: installing Debian packages:" $missing
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  update_indexes
  # shellcheck disable=SC2086
  apt_install $missing && return 0
  # With one architecture's index of the updates missing, the two architectures' candidates
  # differ and the 32-bit libraries cannot match the 64-bit ones: take both from the release.
  local release
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  echo "setup: apt-get install failed; again with the packages of '$release' itself" >&2
  # shellcheck disable=SC2086
  [ -n "$release" ] && apt_install -t "$release" $missing && return 0
  echo "setup: apt-get failed, see $log" >&2
  exit 1
}

enable_source_packages() {
  local list=/etc/apt/sources.list.d/kestrivalume-src.sources
  [ -f "$list" ] && return 0
  local src=/etc/apt/sources.list.d/debian.sources
  [ -f "$src" ] || { echo "setup: $src not found" >&2; exit 1; }
  sed -n 's/^Types: deb$/Types: deb-src/;p' "$src" | as_root tee "$list" >/dev/null
  update_indexes
}

# Fetches one source package into $cache/src/<name> (once) and prints its unpacked folder.
source_folder() {
  local name=$1 dir="$cache/src/$1"
  if ! ls -d "$dir"/*/ >/dev/null 2>&1; then
    enable_source_packages
    mkdir -p "$dir"
    # A mirror may lack the newest version's files (seen with security updates): try each
    # version the package lists, newest first.
    local version fetched=
    for version in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -rV); do
      if (cd "$dir" && apt-get source -qq "$name=$version" >>"$log" 2>&1); then fetched=1; break; fi
      rm -rf "${dir:?}"/*
    done
    [ -n "$fetched" ] || { echo "setup: could not fetch the source of $name, see $log" >&2; exit 1; }
  fi
  ls -d "$dir"/*/ | head -n 1
}

# Cross-builds one static library for one architecture into $cache/deps/<arch>, keyed by
# source folder name (which carries the version).
cross_build() {
  local name=$1 arch=$2; shift 2
  local src stamp build prefix
  src=$(source_folder "$name")
  prefix="$cache/deps/$arch"
  stamp="$prefix/.built-$(basename "$src")"
  [ -f "$stamp" ] && return 0
  echo "setup: building $(basename "$src") for $arch"
  build="$cache/build/$arch/$(basename "$src")"
  rm -rf "$build"
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" >>"$log" 2>&1 \
    && cmake --build "$build" >>"$log" 2>&1 && cmake --install "$build" >>"$log" 2>&1 \
    || { echo "setup: building $name for $arch failed, see $log" >&2; exit 1; }
  touch "$stamp"
}

install_packages
for arch in i686 x86_64; do
  zlib="/usr/$arch-w64-mingw32"
  cross_build libpng1.6 "$arch" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_INCLUDE_DIR="$zlib/include" -DZLIB_LIBRARY="$zlib/lib/libz.a"
  cross_build libjpeg-turbo "$arch" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=OFF
done
