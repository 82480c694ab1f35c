#!/bin/bash
# Builds the libFuzzer targets (clang, the `fuzz` preset) and runs each for a few seconds from its
# seed corpus in fuzz/corpus/<target>. Fails when a target finds a crash, a leak or a timeout.
# FUZZ_SECONDS sets the time per target (default 6: about a minute for all of them).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-6}
targets=()
for source in fuzz/*_fuzz.cc; do
  targets+=("$(basename "${source%.cc}")")
done

cmake --preset fuzz >/dev/null
nice -n 10 cmake --build build/fuzz --target "${targets[@]}"

export ASAN_OPTIONS="suppressions=$PWD/fuzz/asan.supp${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for target in "${targets[@]}"; do
  # New inputs go to a scratch folder, so the checked-in corpus stays as it is.
  mkdir -p "$scratch/$target"
  log="$scratch/$target.log"
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$scratch/$target-" \
      "$scratch/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ok, ${runs:-?} runs in ${seconds} s"
  else
    echo "$target: FINDING"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -20 || tail -20 "$log"
    for artifact in "$scratch/$target"-*; do
      [ -e "$artifact" ] && cp "$artifact" build/fuzz/ && echo "  kept: build/fuzz/$(basename "$artifact")"
    done
    failed=1
  fi
done
exit $failed
