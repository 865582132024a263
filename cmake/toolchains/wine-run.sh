#!/bin/sh
# Runs one Windows program under wine for ctest and GoogleTest's discovery:
#   wine-run.sh --wine <wine64> --prefix <dir> --path <dll dir> <program> [args]
# The wine prefix is created on first use. Wine's own diagnostics are
# silenced and no display is offered, so a message box never waits for a
# click; the program's exit code is passed through.
set -eu

wine=wine64
prefix=
dll_path=
while [ $# -gt 0 ]; do
  case $1 in
    --wine) wine=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --path) dll_path=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ -z "$prefix" ] || [ $# -eq 0 ]; then
  echo "usage: $0 --wine <wine64> --prefix <dir> --path <dll dir> <program> [args...]" >&2
  exit 2
fi

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko installers, which would ask for a download.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ -n "$dll_path" ]; then
  export WINEPATH="Z:$dll_path${WINEPATH:+;$WINEPATH}"
fi

wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

# Under a lock, so that parallel tests neither race to create the prefix nor
# to start the server. A server or session started by the program itself
# would inherit its output pipes and keep ctest waiting until they exit;
# started here, detached from them, they also stay up between tests (the
# server ends 30 s after the last one).
mkdir -p "$(dirname "$prefix")"
# (The lock's descriptor is closed for every process that may outlive this.)
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
    # wineboot returns before the registry reaches the disk.
    "$wineserver" -w 9>&- || true
  fi
  if "$wineserver" -p30 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$prefix.lock"

exec "$wine" "$@"
