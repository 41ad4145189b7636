#!/bin/sh
# The nightly fuzzing run, not part of .ci/run: every target for longer and
# with inputs up to 1 MiB, which reach what the CI run's 8 KB inputs cannot
# (huge lines, long hanging indents, large results). Failures are kept in
# fuzz/regressions/ as in scripts/fuzz.sh.
#
#   scripts/fuzz-nightly.sh [SECONDS] [TARGET...]   (default: 1800 s per target)
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-1800}"
[ $# -gt 0 ] && shift
# Without growing slowly towards the limit, long inputs come at once rather
# than after hours.
FUZZ_MAX_LEN="${FUZZ_MAX_LEN:-1048576}" FUZZ_LEN_CONTROL="${FUZZ_LEN_CONTROL:-0}" \
  exec ./scripts/fuzz.sh "$seconds" "$@"
