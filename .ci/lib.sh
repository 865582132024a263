# shellcheck shell=bash
# Shared by the CI scripts: sourced, not run.

# Every CI build makes warnings errors: the presets read MORVANE_WERROR from
# the environment (MORVANE_WERROR=OFF lets a local run see them all).
export MORVANE_WERROR=${MORVANE_WERROR:-ON}

# werror: whether MORVANE_WERROR is on (not one of the false values of CMake).
werror() {
  [[ ! ${MORVANE_WERROR^^} =~ ^(OFF|0|FALSE|NO|N|IGNORE|NOTFOUND|)$ ]]
}

# apt_install <package>...: installs Debian packages; the second attempt,
# after a fresh package list, covers a transient mirror failure.
apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  { apt-get update -qq && apt-get install -y -qq "$@" >/dev/null; } ||
    { sleep 5; apt-get update -qq && apt-get install -y -qq "$@" >/dev/null; }
}

# require <need>...: installs what is missing. A need is a command
# ("valgrind", installed from the package of that name), "command=package..."
# when the package has another name, or "/path=package..." for a file or
# directory that a package brings.
require() {
  local missing=() need what packages
  for need in "$@"; do
    what=${need%%=*}
    packages=${need#*=}
    [[ $need == *=* ]] || packages=$what
    if [[ $what == /* ]]; then
      [[ -e $what ]] && continue
    else
      command -v "$what" >/dev/null && continue
    fi
    IFS=, read -ra packages <<<"$packages"
    missing+=("${packages[@]}")
  done
  ((${#missing[@]} == 0)) || apt_install "${missing[@]}"
}

ci_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# project_version: the version that the top CMakeLists.txt gives the project.
project_version() {
  local version
  version=$(sed -n 's/^project(morvane VERSION \([0-9.]*\).*/\1/p' \
    "$ci_root/CMakeLists.txt")
  [[ -n $version ]] || { echo "no project version in CMakeLists.txt" >&2; return 1; }
  echo "$version"
}

# public_headers: the installed headers, as morvane/<name>.h, one a line.
public_headers() {
  (cd "$ci_root/include" && find morvane -name '*.h' | LC_ALL=C sort)
}
