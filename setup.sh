#!/usr/bin/env bash
# Sets Mirasketch up on a fresh Debian 12 machine and then either starts the program or runs
# every test. Run as root or as a user who may use sudo.
#
#   ./setup.sh run    install packages, configure, build and start the program
#   ./setup.sh test   install packages, configure, build and run every test with ctest
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"
jobs="${MIRASKETCH_JOBS:-2}"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libjpeg62-turbo-dev libpng-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev libopencv-imgproc-dev libpixman-1-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick xdotool
  libpng-dev desktop-file-utils
)

install_packages() {
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "== installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
}

configure_build() {  # dir, cmake options...
  local dir="$1"
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
  run)
    install_packages
    configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    # Without a display Qt can only abort; say what to do instead.
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
      echo "mirasketch needs a display (neither DISPLAY nor WAYLAND_DISPLAY is set); without one, start it on a virtual display: xvfb-run -a ./build/src/app/mirasketch" >&2
      exit 1
    fi
    exec ./build/src/app/mirasketch
    ;;
  test)
    install_packages
    echo "== release build and tests"
    configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRASKETCH_WERROR=ON
    ctest --test-dir build --output-on-failure -j "$jobs"
    echo "== sanitizer build (ASan + UBSan) and tests"
    configure_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMIRASKETCH_SANITIZE=ON \
      -DMIRASKETCH_WERROR=ON -DMIRASKETCH_APP=OFF -DMIRASKETCH_BENCH=OFF
    LSAN_OPTIONS="suppressions=$here/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
      ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    if command -v clang++ >/dev/null 2>&1; then
      echo "== fuzz build (clang, libFuzzer) and bounded fuzz runs"
      CC=clang CXX=clang++ configure_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DMIRASKETCH_FUZZ=ON -DMIRASKETCH_TESTS=OFF -DMIRASKETCH_APP=OFF -DMIRASKETCH_BENCH=OFF
      ctest --test-dir build-fuzz --output-on-failure -j "$jobs"
    else
      echo "== fuzz targets skipped: clang++ is not installed"
    fi
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
