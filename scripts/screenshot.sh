#!/bin/sh
# Renders the application window after loading "The Basics" and wrapping it,
# in the light and the dark palette, to docs/screenshot.png and
# docs/screenshot-dark.png. Uses a fresh settings folder, so the sample is
# wrapped at the default 80 characters, and no remembered window. Runs offscreen; pass --xvfb to draw
# through a virtual X server instead.
set -eu
cd "$(dirname "$0")/.."
dir="${BUILD_DIR:-build}"
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j2 --target brindlewort_screenshot

config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
mkdir -p docs
run() {
  if [ "${1:-}" = "--xvfb" ]; then
    shift
    XDG_CONFIG_HOME="$config" XDG_STATE_HOME="$config" xvfb-run -a -s "-screen 0 1280x1024x24" "$dir/app/brindlewort_screenshot" "$@"
  else
    XDG_CONFIG_HOME="$config" XDG_STATE_HOME="$config" QT_QPA_PLATFORM=offscreen "$dir/app/brindlewort_screenshot" "$@"
  fi
}
mode="${1:-}"
run $mode docs/screenshot.png
run $mode docs/screenshot-dark.png --dark
echo "wrote docs/screenshot.png and docs/screenshot-dark.png"
