#!/usr/bin/env bash
# Installs into a scratch root and checks that the desktop integration is complete
# and valid: binary, desktop entry, AppStream metainfo and both icon sizes.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

status=0
for file in bin/pelmiro share/applications/org.pelmiro.Pelmiro.desktop \
  share/metainfo/org.pelmiro.Pelmiro.metainfo.xml \
  share/icons/hicolor/16x16/apps/org.pelmiro.Pelmiro.png \
  share/icons/hicolor/32x32/apps/org.pelmiro.Pelmiro.png; do
  if [ ! -s "$root/usr/$file" ]; then
    echo "FAIL: not installed: $file"
    status=1
  fi
done
for size in 16 32; do
  got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.pelmiro.Pelmiro.png")
  [ "$got" = "${size}x${size}" ] || { echo "FAIL: the ${size} px icon is $got"; status=1; }
done
# The desktop entry must start what was installed.
grep -qx 'Exec=pelmiro' "$root/usr/share/applications/org.pelmiro.Pelmiro.desktop" ||
  { echo "FAIL: the desktop entry does not run pelmiro"; status=1; }
desktop-file-validate "$root/usr/share/applications/org.pelmiro.Pelmiro.desktop" || status=1
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/org.pelmiro.Pelmiro.metainfo.xml" ||
  status=1
[ $status -eq 0 ] && echo "installed and valid"
exit $status
