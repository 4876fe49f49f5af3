#!/usr/bin/env bash
# The cheap half of ./scripts/release --verify: the source tarball holds exactly the
# tracked files, and from it, extracted at two paths with different file times, time
# zones and umasks and with no git at hand, the Windows program, its installer and the
# page are built byte for byte the same and carry the project's version. Tracked changes
# not yet committed are included, so this checks the tree as it is.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=../scripts/common.sh
source "$ROOT/scripts/common.sh"
ensure_packages "${WINDOWS_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}"
ensure_web_packages

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

tree=$(git -C "$ROOT" stash create)
source_tarball "${tree:-HEAD}" pelmiro >"$scratch/source.tar.gz"
diff <(tar -tzf "$scratch/source.tar.gz" | sed -n 's|^pelmiro/\(.*[^/]\)$|\1|p' | LC_ALL=C sort) \
  <(git -C "$ROOT" ls-files | LC_ALL=C sort) || fail "the source tarball does not hold exactly the tracked files"
echo "ok: the source tarball holds exactly the tracked files"

# Any call to git from a build fails it.
mkdir "$scratch/no-git"
printf '#!/bin/sh\necho "git $* called from the build" >&2\nexit 1\n' >"$scratch/no-git/git"
chmod +x "$scratch/no-git/git"

sides=("$scratch/a/pelmiro" "$scratch/b/a longer path/pelmiro")
# The second extraction keeps no file times: they are when it was extracted.
extract_options=(-p -m)
masks=(022 077)
zones=(UTC Pacific/Kiritimati)
for i in 0 1; do
  side=${sides[$i]}
  mkdir -p "$(dirname "$side")"
  tar -xzf "$scratch/source.tar.gz" "${extract_options[$i]}" -C "$(dirname "$side")"
  # Each step chained: errexit does not reach into a subshell on the left of ||.
  (
    umask "${masks[$i]}" &&
      export TZ=${zones[$i]} PATH=$scratch/no-git:$PATH &&
      source "$side/scripts/common.sh" && # its ROOT is this side
      build_windows "$side/build/windows" &&
      build_web_page "$side/build/web" &&
      if [ "$i" = 0 ]; then # the Linux build configures too
        cmake -S "$side" -B "$side/build/linux" -G Ninja
      fi
  ) >"$side.log" 2>&1 || {
    tail -n 30 "$side.log" >&2
    fail "the build from the tarball extracted at $side failed"
  }
done
echo "ok: the tarball builds, with no git, for Windows and the browser, and configures for Linux"

first=${sides[0]}/build second=${sides[1]}/build
files=(windows/pelmiro.exe windows/pelmiro-setup.exe web/pelmiro.html)
mapfile -t -O ${#files[@]} files < <(cd "$first" && find web/site -type f | LC_ALL=C sort)
for file in "${files[@]}"; do
  cmp -s "$first/$file" "$second/$file" && continue
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$first/$file" "$second/$file" | head -n 40 >&2 || true
  fi
  fail "$file differs between two builds of the same sources"
done
echo "ok: two builds at two paths give the same bytes: ${files[*]}"

check_versions "$(pelmiro_version)" "$first"/windows/*.exe "$first/web/pelmiro.html" || fail "see above"
for manifest in "$first"/web/site/manifest.*.webmanifest; do
  grep -F "\"version\": \"$(pelmiro_version)\"" "$manifest" >/dev/null ||
    fail "the site's $(basename "$manifest") does not carry version $(pelmiro_version)"
done
echo "ok: the program, the installer, the page and the site's manifests carry version $(pelmiro_version)"
