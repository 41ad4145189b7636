#!/bin/sh
# Installs every Debian package that building, testing, benchmarking and
# packaging need. Safe to run again: apt-get skips what is already there.
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config git
  libicu-dev libacl1-dev libattr1-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools libqt6svg6
  libgl-dev nlohmann-json3-dev
  libenchant-2-dev hunspell-en-us hunspell-en-gb hunspell git
  dbus dbus-daemon dbus-bin
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  coreutils time gcovr
  desktop-file-utils appstream
  xvfb xauth
  fonts-dejavu-core fonts-noto-mono
  dpkg-dev debhelper lintian file
  groff-base libxml2-utils python3 python3-yaml vim neovim emacs-nox pre-commit
"

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  # shellcheck disable=SC2086
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi
