#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time.
#   scripts/fuzz.sh [SECONDS]         each target SECONDS long (default 60)
#   scripts/fuzz.sh --smoke           each target about 5 s: a quick check for the test run
#   scripts/fuzz.sh --runs N          each target for N executions instead of a time
# Names after the options pick targets (profile number gbk icon_image jpeg_image); default all.
# The seeds are tests/fuzz_corpus/<target>/ and stay untouched; what a run finds is kept in
# build-fuzz/fuzz/corpus/<target>/ and carries over to the next run. A crash, leak or sanitizer
# report leaves its input in build-fuzz/fuzz/artifacts/<target>/ and makes the script fail.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VOSTREL_FUZZ_BUILD:-$here/build-fuzz}"
seconds=60
runs=""
targets=()
while (($#)); do
  case "$1" in
  --smoke) seconds=5 ;;
  --runs) runs="$2"; shift ;;
  [0-9]*) seconds="$1" ;;
  *) targets+=("$1") ;;
  esac
  shift
done
((${#targets[@]})) || targets=(profile number gbk icon_image jpeg_image)

for tool in clang-14 clang++-14; do
  command -v "$tool" >/dev/null || { echo "fuzz.sh needs $tool (apt-get install clang-14 libclang-rt-14-dev)" >&2; exit 1; }
done

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOSTREL_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzz}" >/dev/null

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/support/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

failed=()
for t in "${targets[@]}"; do
  corpus="$build/fuzz/corpus/$t"
  artifacts="$build/fuzz/artifacts/$t/"
  log="$build/fuzz/$t.log"
  mkdir -p "$corpus" "$artifacts"
  limit=(-max_total_time="$seconds")
  [[ -n "$runs" ]] && limit=(-runs="$runs")
  # One process, one worker: the machine is shared.
  if "$build/fuzz/${t}_fuzz" "${limit[@]}" -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$corpus" "$here/tests/fuzz_corpus/$t" >"$log" 2>&1; then
    execs="$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')"
    rss="$(grep -m1 'stat::peak_rss_mb' "$log" | awk '{print $2}')"
    echo "$t: ok, ${execs:-?} executions, peak RSS ${rss:-?} MB"
  else
    echo "$t: FAILED, see $log and $artifacts" >&2
    grep -m5 -E 'ERROR|SUMMARY|runtime error|deadly signal' "$log" >&2 || true
    failed+=("$t")
  fi
done
((${#failed[@]} == 0))
