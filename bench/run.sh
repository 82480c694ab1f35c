#!/usr/bin/env bash
# Runs every benchmark program of a build folder once, with short settings, and prints the figures.
set -euo pipefail
build_dir="${1:-build/default}"
shopt -s nullglob
found=0
for program in "$build_dir"/bench/*_bench; do
  [ -x "$program" ] || continue
  found=1
  echo "== $(basename "$program")"
  "$program" --benchmark_min_time=0.2 --benchmark_counters_tabular=true
done
[ "$found" -eq 1 ] || { echo "no benchmark programs in $build_dir/bench" >&2; exit 1; }
