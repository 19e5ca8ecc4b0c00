#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a while on its seed corpus:
#   scripts/fuzz.sh [seconds per target, default 30] [target...]
# Findings land in build/fuzz/findings/<target>/; the corpus grown meanwhile stays in
# build/fuzz/corpus/<target>/ and is reused by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
scripts/build.sh fuzz
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=($(ls fuzz/corpus))
# The shared runtime comes after libstdc++ in the load order, which is harmless here.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:verify_asan_link_order=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t findings=build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  echo "fuzz: $t for ${seconds}s"
  build/fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$work" "fuzz/corpus/$t" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY)|Done [0-9]+ runs' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz: $t found a failure, see $findings"; exit 1; }
done
