#!/usr/bin/env bash
# Runs a command inside a private network namespace with loopback up and a
# page server on 127.0.0.1:80 serving one folder:
#   scripts/netns-run.sh PAGES_FOLDER COMMAND [ARGS...]
# Under Wine the wineserver creates the sockets, so it must live inside the
# namespace too: the command gets a Wine prefix of its own
# (build/wineprefix-net, copied from the project's prefix), whose server is
# started in here and ended on the way out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pages=$(cd "$1" && pwd); shift

if [ -z "${TARNWICK_IN_NETNS:-}" ]; then
  export TARNWICK_IN_NETNS=1
  exec unshare --net "$0" "$pages" "$@"
fi

ip link set lo up
ready=$(mktemp)
rm -f "$ready"
python3 "$root/tools/pageserver/pageserver.py" "$pages" --port 80 --ready "$ready" &
server=$!
for _ in $(seq 100); do [ -f "$ready" ] && break; sleep 0.05; done
[ -f "$ready" ] || { echo "netns-run: the page server did not start" >&2; exit 1; }

export TARNWICK_WINEPREFIX="${TARNWICK_NET_WINEPREFIX:-$root/build/wineprefix-net}"
source "$root/scripts/wine-env.sh"
base="$root/build/wineprefix"
if [ ! -f "$WINEPREFIX/.tarnwick-ready" ] && [ -f "$base/.tarnwick-ready" ]; then
  rm -rf "$WINEPREFIX"
  cp -a "$base" "$WINEPREFIX"
fi
tarnwick_wine_prefix
tarnwick_wineserver -k 2>/dev/null || true
tarnwick_wineserver -p
tarnwick_wine cmd /c exit </dev/null >/dev/null 2>&1 || true

status=0
"$@" || status=$?
tarnwick_wineserver -k 2>/dev/null || true
kill "$server" 2>/dev/null || true
wait "$server" 2>/dev/null || true
rm -f "$ready"
exit $status
