#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ ${#files[@]} -gt 0 ]; then
  clang-format --dry-run --Werror "${files[@]}"
fi
echo "format: ${#files[@]} files checked"
