#!/usr/bin/env bash
# cmake --install puts the program and its skins in one folder, a launcher
# in bin that leads there, the desktop entry and the icons.
#   install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
program="$prefix/lib/tavimo/tavimo-shutdown"
[ -x "$program" ] || fail "no program in lib/tavimo"
# The skins beside the program, the icons where desktops look for them.
for file in lib/tavimo/{星空,大海,天空}.jpg share/icons/hicolor/{16x16,32x32,48x48,128x128}/apps/tavimo-shutdown.png; do
  [ -f "$prefix/$file" ] || fail "no $file"
done
[ "$(readlink -f "$prefix/bin/tavimo-shutdown")" = "$(readlink -f "$program")" ] ||
  fail "bin/tavimo-shutdown does not lead to the program"
desktop="$prefix/share/applications/io.github.tavimo.shutdown.desktop"
for line in 'Name=Tavimo 关机工具' Icon=tavimo-shutdown Exec=tavimo-shutdown; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done
# What software centres read: an entry and metainfo that their validators
# pass, the release the changelog ends on, the project's licence.
desktop-file-validate "$desktop" || fail "desktop-file-validate"
metainfo="$prefix/share/metainfo/io.github.tavimo.shutdown.metainfo.xml"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
# The tree as installed: the metainfo's launchable names a desktop entry there.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"
release="$(sed -n '1s/^tavimo-shutdown (\(.*\)).*/\1/p' "$(dirname "$0")/../../resources/linux/changelog")"
grep -q "<release version=\"$release\"" "$metainfo" || fail "metainfo lacks release $release"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo licence"
echo "install layout as expected"
