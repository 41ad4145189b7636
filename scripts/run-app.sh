#!/bin/sh
# Installs what is missing, builds, and opens the desktop application
# (needs a display: a desktop session, or xvfb-run for a virtual one).
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build
exec ./build/app/brindlewort "$@"
