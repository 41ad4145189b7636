#!/bin/sh
# Installs the Debian packages whose sources make up the damage-check corpus,
# plus the tools that read code independently of brindle (gcc's preprocessor,
# Go's scanner). Safe to run again: packages already present are skipped, so
# a machine that has everything never touches the network.
set -eu

packages="golang-src golang-go libabsl-dev librust-clap-dev librust-serde-dev
librust-tokio-dev libstdc++-12-dev qt6-base-dev golang-etcd-server-dev libimgui-dev libstb-dev g++ python3"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=""
else
  sudo="sudo"
fi
echo "installing:$missing" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
