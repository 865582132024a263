#!/usr/bin/env bash
# Runs shellcheck on every tracked shell script: the files ending in .sh and
# those whose first line starts a shell (such as .ci/run). Sourced files are
# followed (-x) from the root, where the scripts source them. Fails on any
# finding.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/lib.sh

require shellcheck

files=()
while IFS= read -r file; do
  if [[ $file == *.sh ]] || head -n 1 "$file" | grep -qE '^#!.*[/ ](ba|da)?sh$'; then
    files+=("$file")
  fi
done < <(git ls-files)
((${#files[@]} > 0)) || { echo "shellcheck: no shell scripts tracked"; exit 1; }
shellcheck -x "${files[@]}"
echo "shellcheck: ${#files[@]} scripts clean"
