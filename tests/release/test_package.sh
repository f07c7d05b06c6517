#!/usr/bin/env bash
# The host's archive, end to end: build the package, check what the folder holds, unpack it
# into a fresh directory and run the packaged program there on a real X server, started through
# its desktop entry from another directory. A roster written into the unpacked folder must be
# read ("暂停" on "0000" finds its name) and the winner list must appear in that folder; then
# "关闭程序" from the gift box's menu must delete it and end the program.
#
#   test_package.sh BUILD_DIR SOURCE_DIR PACKAGE_FILE_NAME      (run under xvfb-run, 1920x1080)
set -euo pipefail

bin=$1
src=$2
name=$3
work=$(mktemp -d)
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a condition (a shell command) until it holds, at most $1 seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# No early-exiting reader (grep -q, head, awk's exit) on a pipe here: with pipefail the writer's
# SIGPIPE would fail the pipeline at random.
window_at() { xwininfo -root -tree | grep -E " $1 " >/dev/null; }
program_pid() {
  local p
  for p in /proc/[0-9]*; do
    if [[ "$(readlink "$p/exe" 2>/dev/null)" == "$folder/vostrel" ]]; then
      echo "${p#/proc/}"
      return 0
    fi
  done
  return 1
}
program_gone() { ! kill -0 "$pid" 2>/dev/null; }
list_is() { [[ -f "$folder/中奖名单.txt" ]] && cmp -s "$folder/中奖名单.txt" "$1"; }
list_gone() { [[ ! -e "$folder/中奖名单.txt" ]]; }

# 1. One command builds the package (everything is built already when ctest runs).
cmake --build "$bin" --target package >"$work/package.log" 2>&1 || { cat "$work/package.log" >&2; fail "package"; }
archive="$bin/$name.tar.gz"
[[ -f "$archive" ]] || fail "no $archive"
[[ -f "$bin/$name.zip" ]] || fail "no $bin/$name.zip"

# 2. The archive holds exactly the folder vostrel/ with the host's files.
tar -tzf "$archive" | sed 's|/$||' | sort >"$work/listing"
printf '%s\n' vostrel vostrel/vostrel vostrel/vostrel.sh vostrel/vostrel.desktop vostrel/vostrel.png \
  vostrel/配置.ini vostrel/使用说明.txt | sort >"$work/expected"
diff -u "$work/expected" "$work/listing" || fail "archive contents"

# The install rule lays out the same folder.
cmake --install "$bin" --prefix "$work/installed" >/dev/null
(cd "$work/installed" && find vostrel | sort) >"$work/installed.listing"
diff -u "$work/expected" "$work/installed.listing" || fail "install layout"

mkdir "$work/unpacked"
tar -xzf "$archive" -C "$work/unpacked"
folder="$work/unpacked/vostrel"
[[ -x "$folder/vostrel" && -x "$folder/vostrel.sh" ]] || fail "program or launcher not executable"
cmp "$folder/配置.ini" "$src/share/配置.ini" || fail "sample roster differs from share/配置.ini"
iconv -f GBK -t UTF-8 "$folder/配置.ini" | grep '^\[名单\]' >/dev/null || fail "sample roster is not GBK with [名单]"
iconv -f UTF-8 -t UTF-8 "$folder/使用说明.txt" >/dev/null || fail "使用说明.txt is not UTF-8"
grep -q '^Type=Application$' "$folder/vostrel.desktop" || fail "desktop entry type"
grep -q '^Categories=Utility;$' "$folder/vostrel.desktop" || fail "desktop entry category"
[[ "$(identify -format '%m %wx%h' "$folder/vostrel.png")" == "PNG 128x128" ]] || fail "icon"
# Stripped for the host.
readelf -S "$folder/vostrel" | grep '\.debug_info' >/dev/null && fail "program not stripped"

# 3. Every library the program links is named, by its Debian package, in the host's text.
readelf -d "$folder/vostrel" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' >"$work/needed"
[[ -s "$work/needed" ]] || fail "no libraries read"
while read -r lib; do
  case "$lib" in libc.so.* | libm.so.* | libgcc_s.so.* | ld-linux*) continue ;; esac # always there
  path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ && !found {print $NF; found = 1}')
  [[ -n "$path" ]] || fail "$lib not found on this machine"
  package=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | sed -n '1s/:.*//p' || true)
  [[ -n "$package" ]] || package=$(dpkg -S "$path" | sed -n '1s/:.*//p')
  grep -qw -- "$package" "$folder/使用说明.txt" || fail "$lib ($package) is not named in 使用说明.txt"
  grep -qw -- "$package" "$folder/vostrel.sh" || fail "$lib ($package) is not named in vostrel.sh"
done <"$work/needed"
for font in fonts-arphic-gbsn00lp fonts-arphic-gkai00mp; do
  grep -qw -- "$font" "$folder/使用说明.txt" || fail "$font is not named in 使用说明.txt"
done

# 4. The launcher's menu entry names this folder by whole paths.
HOME="$work/home" XDG_DATA_HOME="" "$folder/vostrel.sh" --menu >/dev/null
entry="$work/home/.local/share/applications/vostrel.desktop"
grep -qxF "Exec=\"$folder/vostrel.sh\"" "$entry" || fail "menu entry Exec: $(grep ^Exec "$entry")"
grep -qxF "Icon=$folder/vostrel.png" "$entry" || fail "menu entry Icon"

# On a machine without a library the launcher names it and the packages, and starts nothing.
mkdir "$work/lacking"
cp "$folder/vostrel.sh" "$work/lacking/"
printf 'int vostrelGone(void) { return 0; }\n' >"$work/gone.c"
printf 'int vostrelGone(void);\nint main(void) { return vostrelGone(); }\n' >"$work/main.c"
cc -shared -fPIC -o "$work/libvostrel_gone.so" "$work/gone.c"
cc -o "$work/lacking/vostrel" "$work/main.c" -L"$work" -lvostrel_gone
rm "$work/libvostrel_gone.so"
status=0
"$work/lacking/vostrel.sh" >"$work/lacking.out" 2>&1 || status=$?
[[ $status == 1 ]] || fail "launcher without a library: exit $status"
grep -q 'libvostrel_gone.so => not found' "$work/lacking.out" || fail "launcher does not name the missing library"
grep -q 'apt-get install .*libqt6widgets6' "$work/lacking.out" || fail "launcher does not print the install line"

# 5. Run it: a roster of the unpacked folder with an entry for "0000", the number on show
#    before any roll.
printf '[名单]\r\n0000=测试\r\n1=张三\r\n' | iconv -f UTF-8 -t GBK >"$folder/配置.ini"
printf '测试' | iconv -f UTF-8 -t GBK >"$work/expected_list"
mkdir "$work/elsewhere"
cd "$work/elsewhere"
# Started as a file manager starts the desktop entry in place, from another directory: the Exec
# value unescaped (\\ is one backslash), %k replaced by the entry's own path, and the line split
# into arguments by the shell's double-quote rules, which are the desktop entry's quoting rules.
exec_line=$(sed -n 's/^Exec=//p' "$folder/vostrel.desktop")
exec_line=${exec_line//\\\\/\\}
exec_line=${exec_line//%k/\'$folder\/vostrel.desktop\'}
eval "$exec_line" >"$work/program.log" 2>&1 &
wait_for 20 program_pid >/dev/null || fail "the program did not start"
pid=$(program_pid)
wait_for 20 window_at "50x50\+1820\+50" || fail "no gift box at (1820,50)"

xdotool mousemove 1845 75 click --repeat 2 --delay 80 1
wait_for 20 window_at "1024x768\+448\+156" || fail "the stage did not open"
# "暂停" (按钮2 at 488,600, 88x48 on the stage at 448,156).
xdotool mousemove 980 780 click 1
wait_for 20 list_is "$work/expected_list" || fail "winner list in the folder: $(od -An -tx1 "$folder/中奖名单.txt" 2>&1)"
[[ ! -e "$work/elsewhere/中奖名单.txt" ]] || fail "winner list written in the current directory"

# 6. "关闭程序": the program menu of the gift box, second item, chosen by keyboard.
# The menu opens with its top 3 px below the pointer (its left is moved in from the screen edge).
xdotool mousemove 1845 75 click 3
wait_for 20 window_at '[0-9]+x[0-9]+\+[0-9]+\+78' || fail "no program menu under the pointer"
xdotool key Down Down Return
wait_for 20 program_gone || fail "the program did not end after 关闭程序"
pid=""
list_gone || fail "关闭程序 left 中奖名单.txt"
[[ -f "$folder/配置.ini" ]] || fail "roster gone"
echo "ok: $archive unpacked, run from its folder, roster read, winner list written and deleted"
