#!/bin/sh
# Runs the built test suite again the way a newcomer's machine may run it:
# twice over with both cores taken by other work, in the C locale, and once
# with an empty home folder. A test that passes only on a quiet machine with
# the developers' fonts, locale and settings fails here.
# Usage: scripts/test-busy.sh [build folder]   (default: build)
set -eu
cd "$(dirname "$0")/.."
dir="${1:-build}"
export QT_QPA_PLATFORM=offscreen

hogs=""
stop_hogs() { [ -n "$hogs" ] && kill $hogs 2>/dev/null; hogs=""; }
trap stop_hogs EXIT INT TERM
for _ in 1 2; do
  sh -c 'while :; do :; done' &
  hogs="$hogs $!"
done

echo "== busy machine, LC_ALL=C.UTF-8, each test twice"
LC_ALL=C.UTF-8 ctest --test-dir "$dir" --output-on-failure -j 2 --repeat until-fail:2 --timeout 900
stop_hogs

echo "== empty HOME, no XDG folders set"
home=$(mktemp -d)
env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$home" \
  LC_ALL=C.UTF-8 ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 900
rm -rf "$home"
