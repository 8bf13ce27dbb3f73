#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when
# everything is there already. Usage: install-deps.sh [run|test]
set -euo pipefail

want=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev fonts-wqy-microhei xdg-utils)
if [ "${1:-test}" = test ]; then
  want+=(googletest libgtest-dev libgmock-dev clang-format
         g++-mingw-w64-i686 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev libstb-dev wine wine32:i386
         wine64 g++-mingw-w64-x86-64-posix
         xvfb xauth x11-utils xdotool imagemagick file
         locales dbus python3 python3-pil python3-pefile python3-dbus python3-dbusmock python3-gi python3-xlib
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

# Where the kernel runs no 32-bit code, 32-bit Wine runs through a static
# qemu-i386 (see tests/win32/emulated.sh). Bookworm's is too old for Wine;
# trixie's package is fetched under an apt configuration of its own, so
# the system's sources stay as they are.
install_i386_emulator() {
  [ "${1:-test}" = test ] || return 0
  local dir=/var/cache/tavimo qemu=/var/cache/tavimo/qemu-i386
  [ "${TAVIMO_EMULATE:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  "$qemu" --version >/dev/null 2>&1 && return 0
  local apt=$dir/apt-trixie
  $SUDO mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/state" "$apt/parts"
  $SUDO touch "$apt/state/status"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main" |
    $SUDO tee "$apt/sources.list" >/dev/null
  $SUDO tee "$apt/apt.conf" >/dev/null <<CONF
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "$apt/parts";
Dir::Etc::Parts "$apt/parts";
Dir::Etc::PreferencesParts "$apt/parts";
Dir::State "$apt/state";
Dir::State::Lists "$apt/lists";
Dir::State::status "$apt/state/status";
Dir::Cache "$apt/cache";
APT::Architectures { "amd64"; };
Acquire::Languages "none";
CONF
  $SUDO env APT_CONFIG="$apt/apt.conf" apt-get update -q
  (cd "$apt/cache" && $SUDO env APT_CONFIG="$apt/apt.conf" apt-get download -q qemu-user)
  $SUDO rm -rf "$apt/unpacked"
  $SUDO dpkg-deb -x "$(ls "$apt"/cache/qemu-user_*.deb | tail -1)" "$apt/unpacked"
  $SUDO install -m 755 "$apt/unpacked/usr/bin/qemu-i386" "$qemu"
  $SUDO rm -rf "$apt/unpacked" "$apt"/cache/*.deb "$apt"/cache/*.bin
  "$qemu" --version
}

missing=()
for pkg in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -eq 0 ]; then
  make_test_locale "${1:-test}"
  install_i386_emulator "${1:-test}"
  exit 0
fi
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index now and then: try again, and
# go on with what was fetched; a package still missing fails the install.
for try in 1 2 3; do
  $SUDO apt-get update -q && break
  [ "$try" = 3 ] || sleep 20
done
apt_install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "$@"; }
# When only one architecture's security index came, the two architectures'
# newest versions differ and multiarch pairs cannot be installed; the
# release's own suite holds both at the same versions.
if ! apt_install "${missing[@]}"; then
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "install-deps: trying again from $codename's own suite" >&2
  apt_install -t "$codename" "${missing[@]}"
fi
make_test_locale "${1:-test}"
install_i386_emulator "${1:-test}"
