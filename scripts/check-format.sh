#!/usr/bin/env bash
# Fails when a tracked C++ file is not as clang-format (with the repository's .clang-format)
# would write it, naming each place. Needs the git checkout, since it asks git for the file list.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git ls-files -z '*.cc' '*.h' | xargs -0 --no-run-if-empty clang-format --dry-run -Werror; then
  echo "clang-format: die genannten Dateien weichen ab; 'make format' formatiert sie" >&2
  exit 1
fi
echo "clang-format: alle Dateien in Ordnung"
