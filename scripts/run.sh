#!/usr/bin/env bash
# Builds Vostrel and starts it in a demo run directory (demo/) that holds a sample roster.
# The program reads "配置.ini" and writes "中奖名单.txt" beside its own executable.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build"

demo="$here/demo"
mkdir -p "$demo"
cp "$here/build/vostrel" "$demo/vostrel"
[[ -f "$demo/配置.ini" ]] || cp "$here/share/配置.ini" "$demo/配置.ini"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display here: to run Vostrel on a virtual X server, use: xvfb-run -a -s '-screen 0 1920x1080x24' $demo/vostrel"
  exit 1
fi
exec "$demo/vostrel"
