#!/usr/bin/env bash
# Installs into a scratch root and checks that the desktop integration is complete and
# valid: binary, desktop entry, AppStream metainfo, both icon sizes and the manual, the
# words of each in every language of po/LINGUAS, as desktop-file-validate, appstreamcli
# and man read them back.
set -euo pipefail
build=$1
po=$(cd "$(dirname "$0")/../po" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
mapfile -t languages < <(grep -v '^#' "$po/LINGUAS")

status=0
fail() {
  echo "FAIL: $*"
  status=1
}
files=(bin/pelmiro share/applications/org.pelmiro.Pelmiro.desktop
  share/metainfo/org.pelmiro.Pelmiro.metainfo.xml share/icons/hicolor/{16x16,32x32}/apps/org.pelmiro.Pelmiro.png
  share/man/man6/pelmiro.6.gz)
for language in "${languages[@]}"; do
  files+=("share/man/$language/man6/pelmiro.6.gz")
done
for file in "${files[@]}"; do
  [ -s "$root/usr/$file" ] || fail "not installed: $file"
done
for size in 16 32; do
  got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.pelmiro.Pelmiro.png")
  [ "$got" = "${size}x${size}" ] || fail "the ${size} px icon is $got"
done
entry=$root/usr/share/applications/org.pelmiro.Pelmiro.desktop
metainfo=$root/usr/share/metainfo/org.pelmiro.Pelmiro.metainfo.xml
# The desktop entry must start what was installed, under its own name in every language.
grep -qx 'Exec=pelmiro' "$entry" || fail "the desktop entry does not run pelmiro"
grep -q '^Name\[' "$entry" && fail "the desktop entry gives Pelmiro another name"
desktop-file-validate "$entry" || status=1
appstreamcli validate --no-net --explain "$metainfo" || status=1

# The English name line of the manual, as its translators have it.
name_line() {
  /usr/bin/python3 -c 'import polib, sys
print(polib.pofile(sys.argv[1]).find(sys.argv[2]).msgstr)' "$po/man/$1.po" "$english"
}
# What man shows of the manual's first section, the name line, in a language, on one line.
name_shown() {
  MANPATH=$root/usr/share/man LC_ALL=C.UTF-8 LANGUAGE='' MANWIDTH=80 man -L "$1" pelmiro 2>&1 |
    awk 'NR > 3 && NF == 0 { exit } NR > 3 { $1 = $1; line = line (line ? " " : "") $0 } END { print line }'
}
english=$(name_shown C)
[ -n "$english" ] || fail "man shows no English manual"
for language in "${languages[@]}"; do
  for key in GenericName Comment Keywords; do
    grep -q "^$key\[$language\]=." "$entry" || fail "the desktop entry has no ${key}[$language]"
  done
  for element in summary p keyword; do
    grep -q "<$element xml:lang=\"$language\">" "$metainfo" ||
      fail "the metainfo has no $element in $language"
  done
  shown=$(name_shown "$language")
  [ "$shown" = "$(name_line "$language")" ] || fail "man -L $language shows another manual: $shown"
done
[ $status -eq 0 ] && echo "installed and valid, in English and ${languages[*]}"
exit $status
