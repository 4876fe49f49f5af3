#!/usr/bin/env bash
# Installs into a scratch root and checks that the desktop integration is complete
# and valid: binary, desktop entry, AppStream metainfo, both icon sizes and the
# manual in English and Japanese.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

status=0
for file in bin/pelmiro share/applications/org.pelmiro.Pelmiro.desktop \
  share/metainfo/org.pelmiro.Pelmiro.metainfo.xml \
  share/icons/hicolor/16x16/apps/org.pelmiro.Pelmiro.png \
  share/icons/hicolor/32x32/apps/org.pelmiro.Pelmiro.png \
  share/man/man6/pelmiro.6.gz share/man/ja/man6/pelmiro.6.gz; do
  if [ ! -s "$root/usr/$file" ]; then
    echo "FAIL: not installed: $file"
    status=1
  fi
done
for size in 16 32; do
  got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.pelmiro.Pelmiro.png")
  [ "$got" = "${size}x${size}" ] || { echo "FAIL: the ${size} px icon is $got"; status=1; }
done
entry=$root/usr/share/applications/org.pelmiro.Pelmiro.desktop
metainfo=$root/usr/share/metainfo/org.pelmiro.Pelmiro.metainfo.xml
# The desktop entry must start what was installed.
grep -qx 'Exec=pelmiro' "$entry" ||
  { echo "FAIL: the desktop entry does not run pelmiro"; status=1; }
# A Japanese desktop shows its own texts, all but the name in Japanese script.
japanese='[\p{Han}\p{Hiragana}\p{Katakana}]'
grep -q '^Name\[ja\]=.' "$entry" || { echo "FAIL: the desktop entry has no Name[ja]"; status=1; }
for key in GenericName Comment Keywords; do
  LC_ALL=C.UTF-8 grep -qP "^$key\[ja\]=.*$japanese" "$entry" ||
    { echo "FAIL: the desktop entry has no Japanese ${key}[ja]"; status=1; }
done
for element in summary p; do
  LC_ALL=C.UTF-8 grep -qzP "<$element xml:lang=\"ja\">[^<]*$japanese" "$metainfo" ||
    { echo "FAIL: the metainfo has no Japanese $element"; status=1; }
done
desktop-file-validate "$entry" || status=1
appstreamcli validate --no-net --explain "$metainfo" || status=1
[ $status -eq 0 ] && echo "installed and valid"
exit $status
