#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour checks) into build-fuzz
# and runs each for the given seconds (default 60) from its seed corpus in fuzz/corpus.
# Prints per target the executions, the time, the crashes and the invariant failures; fails
# when any target crashed or broke an invariant. Reproducers land in build-fuzz/artifacts.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET="${1:-60}"
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(envelope syncpage downloads snapshot querybuilder)
BUILD_DIR="${FUZZ_BUILD_DIR:-build-fuzz}"

bash scripts/deps.sh clang libclang-rt-14-dev libfuzzer-14-dev
LAUNCHER=()
if command -v ccache >/dev/null; then LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$BUILD_DIR" -DHOUSEBOOK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j2

# Leak checks stay off: Qt keeps process-wide caches that would read as leaks, and checking
# after every input makes the targets too slow to explore anything.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

status=0
summary=()
for target in "${TARGETS[@]}"; do
  binary="$BUILD_DIR/bin/fuzz_$target"
  work="$BUILD_DIR/corpus/$target"
  artifacts="$BUILD_DIR/artifacts/$target"
  log="$BUILD_DIR/fuzz_$target.log"
  mkdir -p "$work" "$artifacts"
  rm -f "$artifacts"/crash-* "$artifacts"/timeout-* "$artifacts"/oom-* "$artifacts"/leak-*
  echo "fuzz: $target for ${SECONDS_PER_TARGET}s"
  start=$(date +%s)
  rc=0
  "$binary" -max_total_time="$SECONDS_PER_TARGET" -timeout=30 -rss_limit_mb=4096 -detect_leaks=0 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || rc=$?
  elapsed=$(( $(date +%s) - start ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  crashes=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
  invariants=$(grep -c '^INVARIANT FAILED' "$log" || true)
  # A broken invariant aborts, which libFuzzer saves as a crash: counted once, as what it is.
  crashes=$(( crashes > invariants ? crashes - invariants : 0 ))
  # A run that ended badly without leaving a reproducer still counts as a crash.
  if [ "$rc" -ne 0 ] && [ "$crashes" -eq 0 ] && [ "$invariants" -eq 0 ]; then crashes=1; fi
  if [ "$crashes" -ne 0 ] || [ "$invariants" -ne 0 ]; then
    status=1
    grep -m1 -A3 -E '^INVARIANT FAILED|ERROR: (AddressSanitizer|libFuzzer)|runtime error' "$log" || tail -n 20 "$log"
  fi
  summary+=("$(printf '%-14s executions %-10s time %4ss  crashes %s  invariant failures %s' \
    "$target" "${execs:-0}" "$elapsed" "$crashes" "$invariants")")
done

echo
printf '%s\n' "${summary[@]}"
[ "$status" -eq 0 ] && echo "fuzz: all targets clean" || echo "fuzz: failures, see $BUILD_DIR/fuzz_<target>.log and $BUILD_DIR/artifacts/"
exit "$status"
