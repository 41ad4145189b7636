#!/bin/sh
# Installs what is missing, builds, and runs the main job: `brindle wrap` on
# a shipped example file.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build
./build/cli/commands/brindle wrap --width 60 examples/wrap-example.swift
