#!/usr/bin/env bash
# Fails when a tracked C++ file is not as clang-format (with the repository's .clang-format)
# would write it, naming each place. Needs the git checkout, since it asks git for the file list.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cc' '*.h' | xargs -0 --no-run-if-empty clang-format --dry-run -Werror
echo "clang-format: alle Dateien in Ordnung"
