#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite twice:
# once in a normal build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

./scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600

./scripts/build.sh build-sanitize -DBRINDLEWORT_SANITIZE=ON -DBRINDLEWORT_BUILD_BENCH=OFF
# Qt and fontconfig keep process-lifetime caches that LeakSanitizer reports;
# leaks are not what this run is for.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)" --timeout 900
