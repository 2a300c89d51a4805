#!/usr/bin/env bash
# Builds and runs the test suites under sanitizers, each in a build folder of its own:
#   asan  every suite under AddressSanitizer + UndefinedBehaviorSanitizer   (build-asan)
#   tsan  the suites whose code runs on worker threads, under ThreadSanitizer (build-tsan)
# Usage: scripts/sanitize.sh [asan] [tsan]   (both when none is named)
# Any sanitizer report fails the run; the suppressions in scripts/sanitizers/ name only
# code inside Qt or system libraries, each with the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
bash scripts/deps.sh

# The suites with worker threads: community worker, listing sync and snapshot unpacking,
# the sync's page worker, downloads, photo compression and its upload, the list page's count.
THREAD_SUITES=(tst_communityworker tst_housecount tst_sync tst_syncingest tst_downloads tst_photocompression tst_photosuploadobject tst_crashsafety)

LAUNCHER=()
if command -v ccache >/dev/null; then LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

configure() {  # folder sanitizers
  cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1 -DNDEBUG" \
    -DHOUSEBOOK_SANITIZE="$2" -DHOUSEBOOK_BUILD_BENCH=OFF "${LAUNCHER[@]}" >/dev/null
}

run_asan() {
  configure build-asan "address,undefined"
  cmake --build build-asan -j2
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0"
  export LSAN_OPTIONS="suppressions=$ROOT/scripts/sanitizers/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
}

run_tsan() {
  configure build-tsan "thread"
  local targets=()
  for t in "${THREAD_SUITES[@]}"; do targets+=(--target "$t"); done
  cmake --build build-tsan -j2 "${targets[@]}" --target qx_zip --target qx_syncchild
  export TSAN_OPTIONS="ignore_noninstrumented_modules=1:halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/scripts/sanitizers/tsan.supp"
  local pattern
  pattern="^($(IFS='|'; echo "${THREAD_SUITES[*]}"))\$"
  (cd build-tsan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 -R "$pattern")
}

modes=("$@")
[ ${#modes[@]} -eq 0 ] && modes=(asan tsan)
for mode in "${modes[@]}"; do
  case "$mode" in
    asan) run_asan ;;
    tsan) run_tsan ;;
    *) echo "unknown mode $mode (asan, tsan)" >&2; exit 2 ;;
  esac
done
