# Shared by the scripts in this folder: package installation and build helpers.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JOBS:-$(nproc)}

# Packages every build of Pelmiro needs, plus the tools its tests drive it with.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-ipafont-gothic)
# Every target takes its words from po/: gettext merges the desktop entry and the metainfo
# (with appstream's rules for the latter), po4a the manual pages, and polib reads the
# catalogue for the programs' own table. Qt's translations give the box's menu its words.
TRANSLATION_PACKAGES=(gettext appstream po4a python3 python3-polib)
BUILD_PACKAGES+=("${TRANSLATION_PACKAGES[@]}" qt6-translations-l10n)
TEST_PACKAGES=(git clang-format libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
  x11-utils x11-apps x11-xkb-utils libx11-dev libxdamage-dev libxfixes-dev imagemagick desktop-file-utils
  appstream procps openbox wmctrl)
# What ./scripts/package needs besides a build: dependencies and packing.
PACKAGE_PACKAGES=(dpkg-dev file)
# The package test and the test on a headless Wayland compositor.
TEST_PACKAGES+=("${PACKAGE_PACKAGES[@]}" lintian sway grim wtype qt6-wayland jq)
# What a screen reader reads the Qt program through: the accessibility bus and its client.
TEST_PACKAGES+=(dbus at-spi2-core python3-pyatspi)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# Installs whichever of the given Debian packages are missing.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# The version, as project() in CMakeLists.txt gives it to every build.
pelmiro_version() {
  sed -n 's/^project(pelmiro VERSION \([0-9.]*\)[ )].*/\1/p' "$ROOT/CMakeLists.txt"
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

# The browser page: clang's wasm32 target with Debian's WASI libc and libc++ (llvm-14 for its
# archiver), and node to put the page together. The browsers and npm are for its test and
# benchmark: WebKitGTK's MiniBrowser runs in Xvfb, in locales built from the locales
# package's sources.
WEB_PACKAGES=(cmake ninja-build clang-14 lld-14 llvm-14 wasi-libc libc++-14-dev-wasm32
  libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 nodejs imagemagick "${TRANSLATION_PACKAGES[@]}")
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver xvfb locales)

# Installs the web packages; npm only when missing, as some node packages bring their own.
ensure_web_packages() {
  ensure_packages "${WEB_PACKAGES[@]}" "$@"
  command -v npm >/dev/null || ensure_packages npm
}

# Pelmiro for Windows, cross-built with mingw-w64 and packed by NSIS; Wine runs it in
# the tests and the benchmark.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis
  "${TRANSLATION_PACKAGES[@]}")
WINDOWS_TEST_PACKAGES=(wine64)

# build_windows DIR [cmake options...]: DIR/pelmiro.exe and DIR/pelmiro-setup.exe.
build_windows() {
  local dir=$1
  shift
  configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DPELMIRO_BUILD_TESTS=OFF "$@"
}

# The pinned node modules that drive Chromium, for the page's test and benchmark.
install_web_test_modules() {
  (cd "$ROOT" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}

# build_web_page DIR [cmake options...]: the fireworks compiled to WebAssembly, as
# DIR/pelmiro.html with everything inlined and DIR/site/, the same page installable as an
# app; with -DPELMIRO_BUILD_BENCH=ON also DIR/bench/pelmiro.html, the benchmark's copy,
# which keeps its running show in globalThis.pelmiro.
build_web_page() {
  local dir=$1
  shift
  configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/wasm32.cmake" \
    -DPELMIRO_WERROR=ON "$@"
}

# ./scripts/clean-room: a minimal Debian root to run the other commands in.
CLEAN_ROOM_PACKAGES=(mmdebstrap)

# Releases: ./scripts/release and the reproducibility check in ./scripts/test.
RELEASE_PACKAGES=(git gzip tar zip unzip binutils)

# source_tarball COMMIT PREFIX: writes to stdout the commit's tracked files under PREFIX/
# as a gzipped tar. git archive sorts the entries and gives them the commit's time, root as
# owner and modes from a fixed umask; gzip -n stores no name and no time.
source_tarball() {
  git -C "$ROOT" -c tar.umask=0022 archive --format=tar --prefix="$2/" "$1" | gzip -9n
}

# check_versions VERSION FILE...: fails unless each file carries VERSION where its kind
# keeps it. Every one of them is made from project()'s version. (grep reads to the end:
# one that stopped early would break the pipe, and the pipeline would fail.)
check_versions() {
  local version=$1 file
  shift
  for file in "$@"; do
    case $file in
      *.deb)
        [[ $(dpkg-deb -f "$file" Version) == "$version"-* ]] &&
          manuals_carry "$file" "$version" &&
          deb_member "$file" usr/share/metainfo/org.pelmiro.Pelmiro.metainfo.xml |
          grep -F "<release version=\"$version\"" >/dev/null
        ;;
      *.exe) strings -el "$file" | grep -x "$version" >/dev/null ;;
      *.html) grep -F "<meta name=\"generator\" content=\"Pelmiro $version\">" "$file" >/dev/null ;;
      *.zip)
        unzip -p "$file" '*/index.html' | grep -F "content=\"Pelmiro $version\"" >/dev/null &&
          [ "$(unzip -p "$file" '*/manifest.*.webmanifest' | grep -cF "\"version\": \"$version\"")" = \
            "$(unzip -Z1 "$file" '*/manifest.*.webmanifest' | wc -l)" ]
        ;;
      *) false ;;
    esac || {
      echo "$file does not carry version $version" >&2
      return 1
    }
  done
}

# manuals_carry DEB VERSION: each of the package's manual pages, in every language, carries
# VERSION in its title line.
manuals_carry() {
  local manual manuals
  mapfile -t manuals < <(dpkg-deb -c "$1" | awk '{ print substr($6, 2) }' | grep '/pelmiro\.6\.gz$')
  [ ${#manuals[@]} -gt 1 ] || return 1
  for manual in "${manuals[@]}"; do
    deb_member "$1" "${manual#/}" | gzip -dc | grep -F "\"Pelmiro $2\"" >/dev/null || return 1
  done
}

# deb_member DEB PATH: one file of the package, to stdout.
deb_member() {
  dpkg-deb --fsys-tarfile "$1" | tar -xO "./$2"
}
