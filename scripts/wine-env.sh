# Sourced by the scripts that run Windows executables: the project's own Wine
# prefix, quiet, and no offer to download Mono or Gecko on the first start.
_twk_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TARNWICK_WINEPREFIX:-$_twk_root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Creates the prefix on first use. A lock keeps parallel callers from
# initialising it twice.
tarnwick_wine_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine: setting up the prefix $WINEPREFIX" >&2
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/system.reg" ]
}
