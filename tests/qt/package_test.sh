#!/usr/bin/env bash
# The Debian package: built, checked by lintian, built again the same
# from a clean copy, installed with apt, the
# installed program's short end-to-end run against the stand-in logind,
# and purged without leaving a file behind. Installs into the machine it
# runs on, so CI runs it from scripts/test.sh rather than ctest.
#   package_test.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --build "$build" --target package -j2 >/dev/null
deb="$build/tavimo-shutdown_3.6.0_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends
# Without it a Wayland session runs the program under XWayland.
dpkg-deb --field "$deb" Recommends | tr ',' '\n' | grep -qx ' *qt6-wayland' ||
  fail "the package does not recommend qt6-wayland"
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian found errors"
bash "$here/../check-reproducible.sh" "$here/../.." linux package "$deb" ||
  fail "a second build from a clean copy made other bytes"

work="$(mktemp -d)"
purge() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -q tavimo-shutdown >/dev/null; }
# Whatever fails, the machine is left without the package.
trap 'dpkg-query -W tavimo-shutdown >/dev/null 2>&1 && purge; rm -rf "$work"' EXIT
# Everything but the package manager's own records and caches.
files() {
  find /usr /etc /opt /var/lib -xdev \( -path /var/lib/dpkg -o -path /var/lib/apt \
    -o -path /var/lib/ucf \) -prune -o -print 2>/dev/null | LC_ALL=C sort
}
if dpkg-query -W tavimo-shutdown >/dev/null 2>&1; then
  purge
fi
files >"$work/before"

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "$deb" >/dev/null
program=/usr/bin/tavimo-shutdown
[ -x "$program" ] || fail "apt installed no $program"
dpkg -L tavimo-shutdown >"$work/installed"
for path in /usr/lib/tavimo/星空.jpg /usr/share/applications/io.github.tavimo.shutdown.desktop \
  /usr/share/icons/hicolor/48x48/apps/tavimo-shutdown.png; do
  grep -qx "$path" "$work/installed" || fail "the package holds no $path"
done
bash "$here/with_private_buses.sh" "$work/bus" \
  bash "$here/e2e_test.sh" "$program" "$build/screenshots/installed" short || {
  status=$?
  [ "$status" -eq 3 ] && exit 3  # the harness's, told above
  fail "the installed program's run"
}

purge
files >"$work/after"
diff "$work/before" "$work/after" || fail "purging left the files above behind or took others"
echo "package installs, runs and purges cleanly"
