#!/usr/bin/env bash
# Checks that every tracked C++ file is laid out as the root .clang-format
# says: clang-format --dry-run --Werror, which names each place that differs.
# `clang-format -i <file>` fixes a file.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/lib.sh

require clang-format

mapfile -t files < <(git ls-files '*.cpp' '*.h')
((${#files[@]} > 0)) || { echo "format: no C++ files tracked"; exit 1; }
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files as .clang-format says"
