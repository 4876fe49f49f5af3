#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds nothing, apt installs it,
# the desktop entry starts Pelmiro under Xvfb, a screen reader reads it as it reads the
# built program, apt purges it and nothing is left.
# Whatever happens, the machine keeps the packages it had before.
#   tests/package_test.sh [PATH-TO-CLOSE-WINDOW-HELPER]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=../scripts/common.sh
source "$ROOT/scripts/common.sh"
close_window=${1:-$ROOT/build/test/tests/e2e/e2e_close_window}
[ -x "$close_window" ] || {
  echo "missing $close_window: build the tests first (./scripts/test does)" >&2
  exit 1
}
ensure_packages lintian xvfb xauth xdotool x11-utils imagemagick man-db locales dbus at-spi2-core \
  python3-pyatspi

apt_get() { # its output only when it fails
  env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600 "$@" \
    >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log" >&2 && return 1; }
}
installed() {
  dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 ~ /^.i/ { print $2 }' | sort
}
known() { # known PACKAGE: dpkg has some trace of it, if only its configuration
  local status
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) || return 1
  [[ $status != ?n* ]]
}

restore() {
  set +e
  [ -n "${before:-}" ] || return 0 # nothing was touched yet
  if known pelmiro; then apt_get purge pelmiro; fi
  local added
  added=$(comm -13 <(echo "$before") <(installed))
  # shellcheck disable=SC2086 # one package a word
  if [ -n "$added" ]; then apt_get purge $added; fi
  if compgen -G "$scratch/*.deb" >/dev/null; then dpkg -i "$scratch"/*.deb >/dev/null; fi
  rm -rf "$scratch"
}
finish() {
  local status=$?
  set +e
  trap - EXIT
  if [ -n "${PELMIRO_PID:-}" ]; then kill -KILL "$PELMIRO_PID" 2>/dev/null; fi
  restore
  if [ -n "${E2E_DIR:-}" ]; then
    (exit "$status")
    cleanup # the end-to-end helpers' own: ends Xvfb and exits with the status
  fi
  exit "$status"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

scratch=$(mktemp -d)
before=$(installed)
# A Pelmiro installed before is packed up now and put back at the end.
if grep -qx 'pelmiro\(:.*\)\?' <<<"$before"; then
  ensure_packages dpkg-repack
  (cd "$scratch" && dpkg-repack pelmiro >/dev/null)
fi

deb=$("$ROOT/scripts/package" | tail -n 1)
lintian --fail-on error,warning "$deb" 2> >(grep -v 'root privileges' >&2)
echo "ok: lintian finds no error and no warning in $(basename "$deb")"

mapfile -t files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }')
mapfile -t languages < <(grep -v '^#' "$ROOT/po/LINGUAS")
manuals=(/usr/share/man/man6/pelmiro.6.gz)
for language in "${languages[@]}"; do
  manuals+=("/usr/share/man/$language/man6/pelmiro.6.gz")
done
# Searched as one string: printf writes line by line, and a grep -q that stops at the
# first match would break its pipe and fail the pipeline.
listing=$(printf '%s\n' "${files[@]}")
for want in /usr/games/pelmiro /usr/share/applications/org.pelmiro.Pelmiro.desktop \
  /usr/share/metainfo/org.pelmiro.Pelmiro.metainfo.xml \
  /usr/share/icons/hicolor/{16x16,32x32}/apps/org.pelmiro.Pelmiro.png \
  "${manuals[@]}" /usr/share/doc/pelmiro/{copyright,changelog.Debian.gz}; do
  grep -qx "$want" <<<"$listing" || {
    echo "FAIL: the package lacks $want" >&2
    exit 1
  }
done

apt_get install "$deb"
for file in "${files[@]}"; do
  [ -e "$file" ] || {
    echo "FAIL: $file is not there after installing" >&2
    exit 1
  }
done
echo "ok: apt installs the package (${#files[@]} files)"

# A launcher runs the Exec line without its field codes, looking the command up in
# the PATH a Debian login gives a user, which holds /usr/games.
entry=/usr/share/applications/org.pelmiro.Pelmiro.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
read -ra command <<<"${exec_line//%[fFuUick]/}"
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
program=$(PATH=${user_path:-/usr/local/bin:/usr/bin:/bin:/usr/games} command -v "${command[0]}") || {
  echo "FAIL: the desktop entry runs '${command[0]}', which is not on a user's PATH" >&2
  exit 1
}

# shellcheck source-path=SCRIPTDIR source=e2e/lib.sh
source "$ROOT/tests/e2e/lib.sh" "$program" "$close_window"
trap finish EXIT
grep -qx "$program" <<<"$listing" || fail "the desktop entry starts $program, not the package's"

start_xvfb
mkdir -m 700 "$WORK/xdg"
PELMIRO_ERR=$WORK/pelmiro.err
env -u QT_QPA_PLATFORM PATH="$user_path" XDG_RUNTIME_DIR="$WORK/xdg" "${command[@]}" \
  >"$WORK/pelmiro.out" 2>"$PELMIRO_ERR" &
PELMIRO_PID=$!
wait_until 30 find_window_once || fail "the desktop entry's command opened no window"
[ "$(xdotool getwindowpid "$WID")" = "$PELMIRO_PID" ] || fail "the window is not the launched program's"
read -r WIN_X WIN_Y < <(xdotool getwindowgeometry --shell "$WID" |
  awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }')
wait_for 10 'GREEN_N == 1' 4 4 || fail "the installed program draws no green dot at the top left: $(counts)"
pass "the desktop entry starts the installed Pelmiro ($program) and it draws"
close_pelmiro
bash "$ROOT/tests/e2e/assistive_test.sh" "$program" "$close_window" >"$WORK/assistive.log" 2>&1 ||
  fail "a screen reader does not read the installed program as expected: $(grep FAIL -A4 "$WORK/assistive.log")"
pass "a screen reader reads the installed program's frame, fireworks and box, in its languages"

# man picks the manual by the locale, which must exist: it is compiled here for this
# check alone rather than added to the machine's. The Japanese manual's name line, as
# its translation has it, tells which page man shows.
mkdir "$scratch/locale"
localedef -i ja_JP -f UTF-8 "$scratch/locale/ja_JP.UTF-8"
shown=$(env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LOCPATH="$scratch/locale" LANG=ja_JP.UTF-8 man pelmiro 2>&1)
name_line=$(/usr/bin/python3 -c 'import polib, sys
print(polib.pofile(sys.argv[1]).find(sys.argv[2]).msgstr)' "$ROOT/po/man/ja.po" \
  "pelmiro - launch fireworks rockets in a desktop window")
grep -qF "${name_line:?no name line in the Japanese manual}" <<<"$shown" || fail "LANG=ja_JP.UTF-8 man pelmiro shows another page: $(head -n 4 <<<"$shown")"
pass "LANG=ja_JP.UTF-8 man pelmiro shows the Japanese manual"

apt_get purge pelmiro
! known pelmiro || fail "dpkg still knows pelmiro after the purge"
for file in "${files[@]}" /usr/share/doc/pelmiro; do
  if [ -e "$file" ] || [ -L "$file" ]; then fail "$file is left after the purge"; fi
done
pass "apt purges the package and none of its files is left"
