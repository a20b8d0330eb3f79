#!/usr/bin/env bash
# make fuzz: builds the fuzz preset (clang, libFuzzer) and runs every target
# in fuzz/ for FUZZ_SECONDS (default 60) each, growing its corpus in
# build/fuzz-corpus/<target>/. An input that breaks a target is kept as
# build/fuzz-findings/<target>-crash-...; run the target on that file to see
# it again. Ends with one line "N passed, N failed", one count per target.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
seconds=${FUZZ_SECONDS:-60}

if ! bash scripts/build.sh fuzz >build/fuzz-build.log 2>&1; then
  cat build/fuzz-build.log >&2
  echo "fuzz: the fuzz preset did not build"
  echo "0 passed, 1 failed"
  exit 1
fi

passed=0
failed=0
mkdir -p build/fuzz-findings
for bin in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$bin")
  corpus=build/fuzz-corpus/$name
  mkdir -p "$corpus"
  log=build/fuzz-findings/$name.log
  # -timeout: a single input taking this long is a finding too.
  if timeout -k 10 $((seconds + 60)) "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="build/fuzz-findings/$name-" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
    echo "fuzz: $name passed (${runs:-?} inputs in $seconds s, corpus $(find "$corpus" -type f | wc -l))"
    passed=$((passed + 1))
  else
    echo "fuzz: $name FAILED (log: $log)"
    grep -E "fuzz check failed|ERROR: |SUMMARY: |Test unit written" "$log" | head -n 5
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))
