#!/bin/sh
# Line coverage of the libraries by the whole test suite: a Debug build with
# gcov instrumentation in build-coverage, the tests, then gcovr's summary.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
./scripts/build.sh build-coverage -DCMAKE_BUILD_TYPE=Debug -DBRINDLEWORT_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage -j "$(nproc)" --timeout 600 >/dev/null || true
gcovr -r . build-coverage --gcov-ignore-parse-errors -s \
  --filter 'base/' --filter 'engine/' --filter 'reflow/' --filter 'proofreading/' \
  --filter 'settings/' --filter 'helper/' --filter 'workbench/' --filter 'preferences/' \
  --filter 'app/' --filter 'cli/' | tail -3
