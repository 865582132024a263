# Shared by the CI scripts: sourced, not run.

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
    missing+=(${packages//,/ })
  done
  ((${#missing[@]} == 0)) || apt_install "${missing[@]}"
}
