#!/bin/sh
# Starts Vostrel from its own folder, from wherever this script is called (a terminal, a file
# manager, the vostrel.desktop entry). The program keeps its roster and winner list beside itself.
#
#   ./vostrel.sh          start the program
#   ./vostrel.sh --menu   add Vostrel to this user's application menu (with this folder's paths)
here=$(dirname "$(readlink -f "$0")")
cd "$here" || exit 1

if [ "${1:-}" = "--menu" ]; then
  apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
  mkdir -p "$apps" || exit 1
  # The menu needs whole paths: a desktop entry there cannot name files relative to itself.
  sed -e "s|^Exec=.*|Exec=\"$here/vostrel.sh\"|" -e "s|^Icon=.*|Icon=$here/vostrel.png|" \
    "$here/vostrel.desktop" >"$apps/vostrel.desktop" || exit 1
  echo "Vostrel added to the application menu: $apps/vostrel.desktop"
  exit 0
fi

missing=$(ldd ./vostrel 2>/dev/null | grep "not found")
if [ -n "$missing" ]; then
  echo "Vostrel needs libraries this machine lacks:" >&2
  echo "$missing" >&2
  echo "Install them (see 使用说明.txt):" >&2
  echo "  sudo apt-get install --no-install-recommends libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo \\" >&2
  echo "    libxcb1 libstdc++6 fonts-arphic-gbsn00lp fonts-arphic-gkai00mp" >&2
  exit 1
fi
exec ./vostrel
