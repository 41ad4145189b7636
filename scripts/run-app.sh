#!/bin/sh
# Installs what is missing, builds, and opens the desktop application.
# Without a display (over SSH, in a container, in CI) it says so in one
# line and shows what can be shown instead: the window drawn under Xvfb and
# saved as a screenshot, and `brindle wrap` on the shipped example.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec ./build/app/brindlewort "$@"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset); drawing the window under Xvfb instead."
shot="${TMPDIR:-/tmp}/brindlewort-window.png"
xvfb-run -a -s "-screen 0 1280x1024x24" ./build/app/brindlewort_screenshot "$shot"
echo "Screenshot of the window: $shot"
echo
echo "brindle wrap --width 60 examples/wrap-example.swift:"
./build/cli/commands/brindle wrap --width 60 examples/wrap-example.swift
