#!/usr/bin/env bash
# Builds the Doxygen reference of the public headers, with the README as its
# main page, into build/docs/docs/html, and fails on any problem in it:
#   - a Doxygen warning (WARN_AS_ERROR fails the build; the check of the log
#     also catches a warning that a Doxygen of another version reports
#     without failing);
#   - a page that does not show what its source says (a '%' that Doxygen
#     dropped, Markdown shown as literal text): the docs target runs
#     cmake/MorvaneDocs.py check on the pages, which names the source line
#     or the page and the text.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/lib.sh

require doxygen python3 cmake g++

cmake --preset release -B build/docs -DMORVANE_BUILD_TESTS=OFF \
  -DMORVANE_BUILD_EXAMPLES=OFF >/dev/null
cmake --build build/docs --target docs 2>&1 | tee build/docs/doxygen.log
if grep -Eq '(warning|error):' build/docs/doxygen.log; then
  echo "docs: Doxygen reported the problems above" >&2
  exit 1
fi
echo "docs: build/docs/docs/html/index.html"
