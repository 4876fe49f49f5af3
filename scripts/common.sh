# Shared by the scripts in this folder: package installation and build helpers.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JOBS:-$(nproc)}

# Packages every build of Pelmiro needs, plus the tools its tests drive it with.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-ipafont-gothic)
TEST_PACKAGES=(git clang-format libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
  x11-utils x11-xkb-utils libx11-dev imagemagick desktop-file-utils appstream procps)
# What ./scripts/package needs besides a build: dependencies and packing.
PACKAGE_PACKAGES=(dpkg-dev file)
# The package test and the test on a headless Wayland compositor.
TEST_PACKAGES+=("${PACKAGE_PACKAGES[@]}" lintian sway grim wtype qt6-wayland jq)

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

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}
