#!/usr/bin/env bash
# The run beside the normal test suite: builds everything with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/, runs the
# whole test suite there, then fuzzes every fuzz target for a bounded time with
# its seeds, its saved corpus and the dictionary. A failing test, a sanitizer
# report or a fuzzer crash fails the run; the input that broke a target is left
# in build-asan/fuzz/crashes/ and belongs in tests/fuzz/corpus/<target>/ once
# the fault is fixed, so that every later build replays it.
#
#   FUZZ_SECONDS=50 scripts/reliability.sh   fuzzing time per target (0: none)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

fuzz_seconds=${FUZZ_SECONDS:-50}
root=$PWD
started=$SECONDS

# Leaks, undefined behaviour and any memory fault stop the program with a
# report. Leak suppressions cover the system's libraries only.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp
if command -v llvm-symbolizer >/dev/null 2>&1; then
  export ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer)
fi
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DHARVANE_SANITIZE=ON \
  -DHARVANE_WERROR=ON -DHARVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
built=$SECONDS
ctest --test-dir build-asan --output-on-failure --timeout 600 -j2
tested=$SECONDS

if [ "$fuzz_seconds" -le 0 ]; then
  echo "reliability: built in $((built - started)) s, sanitizer suite $((tested - built)) s, no fuzzing"
  exit 0
fi

fuzz=build-asan/fuzz
mkdir -p "$fuzz/crashes"
failed=()
total=0
for program in "$fuzz"/fuzz_*; do
  name=${program##*/fuzz_}
  work=$fuzz/work/$name
  log=$fuzz/$name.log
  mkdir -p "$work"
  # -timeout: one input that runs for 10 s is a hang, and fails like a crash.
  # A smaller quarantine of freed memory keeps a long run well inside the
  # memory limit (the default lets it grow past 1 GB in a few minutes).
  if ! ASAN_OPTIONS=$ASAN_OPTIONS:quarantine_size_mb=64 "$program" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -dict=tests/fuzz/harvane.dict -print_final_stats=1 \
      -artifact_prefix="$fuzz/crashes/$name-" \
      "$work" "$fuzz/seeds/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    failed+=("$name")
    tail -n 80 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  runs=${runs:-0}
  total=$((total + runs))
  printf 'fuzz %-16s %10d runs in %d s\n' "$name" "$runs" "$fuzz_seconds"
done
printf 'fuzz %-16s %10d runs\n' total "$total"
echo "reliability: built in $((built - started)) s, sanitizer suite $((tested - built)) s," \
  "fuzzing $((SECONDS - tested)) s"

if [ ${#failed[@]} -gt 0 ]; then
  echo "reliability: fuzzing broke ${failed[*]}; the inputs are in $fuzz/crashes/" >&2
  echo "  (after the fix, copy each into tests/fuzz/corpus/<target>/)" >&2
  exit 1
fi
