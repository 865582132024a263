# Shared by the CI scripts: sourced, not run.

# apt_install <package>...: installs Debian packages; the second attempt,
# after a fresh package list, covers a transient mirror failure.
apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  { apt-get update -qq && apt-get install -y -qq "$@" >/dev/null; } ||
    { sleep 5; apt-get update -qq && apt-get install -y -qq "$@" >/dev/null; }
}
