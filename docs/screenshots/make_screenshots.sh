#!/usr/bin/env bash
# Remakes the README's screenshots from the real program on a virtual X server (1920x1080, no
# window manager, so windows show without a frame): the gift box, the settings window with a
# person count typed in, the rolling stage and the congratulation. Each picture is cropped to
# its window.
#
#   docs/screenshots/make_screenshots.sh [BUILD_DIR]      (default build/; builds vostrel there)
#
# Needs xvfb-run, xdotool, xwininfo (x11-utils) and ImageMagick's import and compare.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"

if [[ -z "${VOSTREL_SHOTS_ON_XVFB:-}" ]]; then
  [[ -f "$build/CMakeCache.txt" ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j2 --target vostrel >/dev/null
  VOSTREL_SHOTS_ON_XVFB=1 QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$build"
fi

work=$(mktemp -d)
pid=""
trap '[[ -n "$pid" ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# A run directory of its own: the program, and a roster with a name for every number up to
# the person count set below, so whichever number stops has a name.
cp "$build/vostrel" "$work/vostrel"
names=(张三 李四 王五 赵六 孙七 周八 吴九 郑十 陈一 林二)
{
  printf '[名单]\r\n'
  for i in $(seq 1 120); do printf '%d=%s\r\n' "$i" "${names[$(((i - 1) % ${#names[@]}))]}"; done
} | iconv -f UTF-8 -t GBK >"$work/配置.ini"

wait_for() {
  local deadline=$((SECONDS + 20))
  until "$@"; do
    ((SECONDS < deadline)) || { echo "make_screenshots.sh: gave up waiting for: $*" >&2; exit 1; }
    sleep 0.1
  done
}
window_at() { xwininfo -root -tree | grep -qE " $1 "; }
window_gone() { ! window_at "$1"; }
list_written() { [[ -s "$work/中奖名单.txt" ]]; }
# shot NAME WxH+X+Y: the screen cropped to that rectangle.
shot() { import -window root -crop "$2" +repage -strip "$work/$1.png" && mv "$work/$1.png" "$here/$1.png"; }
# The number on show differs from the one in a former picture of the stage.
number_changed() {
  import -window root -crop 1024x768+448+156 +repage "$work/now.png"
  local diff
  diff=$(compare -metric AE -extract 1024x128+0+48 "$work/now.png" "$work/$1" null: 2>&1 || true)
  [[ "$diff" != 0 ]]
}

"$work/vostrel" &
pid=$!
wait_for window_at '50x50\+1820\+50'
shot gift_window 50x50+1820+50

# The stage, by a double-click on the gift box.
xdotool mousemove 1845 75 click --repeat 2 --delay 80 1
wait_for window_at '1024x768\+448\+156'
import -window root -crop 1024x768+448+156 +repage "$work/stage_stopped.png"

# "设置" (at 728,600 on the stage); the settings window is centred: (1920-349)/2, (1080-182)/2.
xdotool mousemove 1220 780 click 1
wait_for window_at '349x182\+785\+449'
xdotool mousemove $((785 + 100)) $((449 + 60)) click 1 # 编辑框2
xdotool type --delay 50 100
shot settings_window 349x182+785+449
xdotool mousemove $((785 + 88)) $((449 + 108)) click 1 # "确定"
xdotool mousemove $((785 + 308)) $((449 + 92)) click 1 # "退出"
wait_for window_gone '349x182\+785\+449'

# "开始" (at 240,600): the number rolls from 1 to 100.
xdotool mousemove 732 780 click 1
wait_for number_changed stage_stopped.png
xdotool mousemove 1300 1000 # the pointer off the stage
shot rolling_stage 1024x768+448+156

# "暂停" (at 488,600): the congratulation, once the name is in the winner list.
xdotool mousemove 980 780 click 1
wait_for list_written
xdotool mousemove 1300 1000
shot congratulation 1024x768+448+156
echo "winner: $(iconv -f GBK -t UTF-8 "$work/中奖名单.txt")"
ls "$here"/*.png
