#!/usr/bin/env bash
# Builds the registration toolbox for 64- and 32-bit Windows, runs its tests under Wine and
# photographs its window (build/toolbox.png). Where Wine cannot run 32-bit programs, the
# 32-bit tests are reported as skipped.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
for preset in windows-x64 windows-x86; do
  cmake --preset "$preset" >/dev/null
  nice -n 10 cmake --build "build/$preset" --target lastora_toolbox lastora_toolbox_tests
  ctest --test-dir "build/$preset" -R '^toolbox_' --output-on-failure
done
scripts/toolbox-screenshot.sh build/windows-x64
