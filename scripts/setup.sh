#!/usr/bin/env bash
# Installs what Vostrel needs from Debian 12, then configures and builds it.
#   scripts/setup.sh [BUILD_DIR] [extra cmake arguments...]
# Packages (all with --no-install-recommends, so the CJK fallback font stays predictable):
#   cmake g++ make pkg-config         the build
#   qt6-base-dev qt6-base-dev-tools   Qt 6 Widgets, Test, moc and rcc
#   libjpeg-dev                       the JPEG decoder the pictures are drawn with
#   libxcb1-dev                       keeping the gift box and dialog off the X11 taskbar
#   fonts-arphic-gbsn00lp             Song face for "宋体"
#   fonts-arphic-gkai00mp             Kai face for "楷体_GB2312", "楷体", "华文行楷"
#   fonts-arphic-uming fonts-arphic-ukai   second choices for the same faces
#   fontconfig                        font lookup
#   xvfb xauth                        a virtual X server for tests and for hosts without a display
#   xdotool trayer x11-utils          clicking the tray icon and reading window properties in tests
#   imagemagick                       screenshots
#   clang-14 libclang-rt-14-dev       the libFuzzer targets the test run exercises briefly
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libjpeg-dev libxcb1-dev
  fonts-arphic-gbsn00lp fonts-arphic-gkai00mp fonts-arphic-uming fonts-arphic-ukai fontconfig
  xvfb xauth xdotool trayer x11-utils imagemagick clang-14 libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing Debian packages. Run as root first:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
