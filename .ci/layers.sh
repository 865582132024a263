#!/usr/bin/env bash
# Checks the library's layers (README, "Layout"): a file of src/ or a public
# header may include the headers of its own layer and of the layers below,
# never one of a layer above its own.
#   0  common, platform (and src/dllmain.cpp, the DLL's entry)
#   1  tracker, strings, math
#   2  loader
# A file of src/ belongs to the layer of its directory, and so does a private
# header, which is included by that directory ("strings/pattern_scan.h"). A
# public header belongs to the layer of what it declares (the table below);
# a new one must be added there. Prints each include that breaks the order.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A level=(
  [common]=0 [platform]=0 [tracker]=1 [strings]=1 [math]=1 [loader]=2
  [morvane/attributes.h]=0 [morvane/export.h]=0 [morvane/module_handle.h]=0
  [morvane/bmem.h]=1
  [morvane/XString.h]=1 [morvane/XVector.h]=1 [morvane/XStringBuf.h]=1
  [morvane/fmt.h]=1
  [morvane/X3DMath.h]=1
  [morvane/XPtrList.h]=2 [morvane/XDllLoader.h]=2
)

problems=0
problem() {
  echo "layers: $*" >&2
  problems=$((problems + 1))
}

# layer_of <file>: the layer name of a file of src/ or include/.
layer_of() {
  case $1 in
    src/dllmain.cpp) echo platform ;;
    src/*/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
    include/*) echo "${1#include/}" ;;
    *) echo "?" ;;
  esac
}

checked=0
while IFS= read -r file; do
  own=$(layer_of "$file")
  if [[ -z ${level[$own]+set} ]]; then
    problem "$file: no layer for '$own'; add it to .ci/layers.sh"
    continue
  fi
  checked=$((checked + 1))
  # Quoted includes and the public headers; the others are the system's.
  while IFS=: read -r line directive; do
    [[ $directive =~ include[[:space:]]*[\"\<]([^\">]*) ]] || continue
    target=${BASH_REMATCH[1]}
    case $target in
      morvane/*) layer=$target ;;
      */*) layer=${target%%/*} ;;
      *) continue ;;  # beside the file, in its own directory
    esac
    if [[ -z ${level[$layer]+set} ]]; then
      problem "$file:$line: no layer for '$target'; add it to .ci/layers.sh"
    elif ((level[$layer] > level[$own])); then
      problem "$file:$line: $own (layer ${level[$own]}) includes $target" \
        "(layer ${level[$layer]})"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*("|<morvane/)' "$file" || true)
done < <(git ls-files 'src/*.cpp' 'src/*.h' 'include/morvane/*.h')

if ((problems > 0)); then
  echo "layers: $problems problem(s); see the Layout section of README.md" >&2
  exit 1
fi
echo "layers: $checked files, no include from a layer above"
