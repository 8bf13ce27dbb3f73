#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when
# everything is there already. Usage: install-deps.sh [run|test]
set -euo pipefail

want=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev fonts-wqy-microhei xdg-utils)
if [ "${1:-test}" = test ]; then
  want+=(googletest libgtest-dev libgmock-dev clang-format
         g++-mingw-w64-i686 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386
         wine64 g++-mingw-w64-x86-64-posix
         xvfb xauth x11-utils xdotool imagemagick icoutils
         locales dbus python3 python3-pil python3-dbus python3-dbusmock python3-gi
         dpkg-dev lintian appstream desktop-file-utils
         at-spi2-core python3-pyatspi gir1.2-atspi-2.0
         weston xwayland qt6-wayland
         openbox trayer haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils)
fi

# A locale with a decimal comma, for the conversion tests.
make_test_locale() {
  [ "${1:-test}" = test ] || return 0
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8' && return 0
  command -v localedef >/dev/null || return 0
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
}

missing=()
for pkg in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -eq 0 ]; then
  make_test_locale "${1:-test}"
  exit 0
fi
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
make_test_locale "${1:-test}"
