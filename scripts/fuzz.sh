#!/bin/sh
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each one for a bounded time.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (default: 60 s, every target)
#
# FUZZ_MAX_LEN sets the largest input in bytes (default 8192, which keeps
# the CI run quick) and FUZZ_LEN_CONTROL how slowly inputs grow towards it
# (libFuzzer's -len_control, default 100; 0 starts at full length);
# scripts/fuzz-nightly.sh raises the one and drops the other.
# The working corpus grows in build-fuzz/corpus/ from run to run. An input
# that crashes a target or breaks one of its invariants is copied to
# fuzz/regressions/<target>/, where the normal test suite replays it; commit
# it with the fix. Exits non-zero when any target failed.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[ $# -gt 0 ] && shift
dir=build-fuzz
max_len="${FUZZ_MAX_LEN:-8192}"
len_control="${FUZZ_LEN_CONTROL:-100}"

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRINDLEWORT_FUZZ=ON -DBRINDLEWORT_BUILD_TESTS=OFF -DBRINDLEWORT_BUILD_BENCH=OFF \
  -DBRINDLEWORT_BUILD_GUI=OFF -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_all

if [ $# -gt 0 ]; then
  targets="$*"
else
  targets=$(find "$dir/fuzz" -maxdepth 1 -type f -perm -u+x -name 'fuzz_*' | sed 's|.*/fuzz_||' | sort)
fi

# Text targets also start from the shipped examples and samples.
extra_seeds=""
for d in examples app/samples app/resources/samples; do
  [ -d "$d" ] && extra_seeds="$extra_seeds $d"
done

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:symbolize=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=""
for target in $targets; do
  corpus="$dir/corpus/$target"
  artifacts="$dir/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  seeds="fuzz/corpus/$target"
  [ -d "fuzz/regressions/$target" ] && seeds="$seeds fuzz/regressions/$target"
  case "$target" in
    grammar_check|auto_correction) seeds="$seeds$extra_seeds" ;;
  esac
  echo "== fuzz_$target for ${seconds}s"
  # shellcheck disable=SC2086
  if ! "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -len_control="$len_control" -timeout=20 \
      -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" $seeds 2>"$dir/fuzz_$target.log"; then
    tail -n 40 "$dir/fuzz_$target.log"
    mkdir -p "fuzz/regressions/$target"
    for found in "$artifacts"/*; do
      [ -f "$found" ] || continue
      cp "$found" "fuzz/regressions/$target/"
      echo "kept $found as fuzz/regressions/$target/$(basename "$found")"
    done
    failed="$failed $target"
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$dir/fuzz_$target.log" | tr '\n' ' '
    echo
  fi
done

if [ -n "$failed" ]; then
  echo "fuzzing found failures in:$failed"
  exit 1
fi
echo "fuzzing: every target ran ${seconds}s without a failure"
