# Sourced by the scripts that run Windows executables: the project's own Wine
# prefix, quiet, and no offer to download Mono or Gecko on the first start.
_twk_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TARNWICK_WINEPREFIX:-$_twk_root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Every program starts through Wine's 64-bit loader, which hands a 32-bit
# program on to the 32-bit loader. That one is a 32-bit Linux program, and
# some kernels are booted with 32-bit emulation switched off (dmesg:
# "32-bit emulation disabled"): there only 64-bit Windows programs run.
export WINELOADER=/usr/lib/wine/wine64
TARNWICK_WINE=/usr/lib/wine/wine64
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  TARNWICK_WINE32=1
else
  TARNWICK_WINE32=0
fi
export WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32

tarnwick_wine() { "$TARNWICK_WINE" "$@"; }
tarnwick_wineserver() { "$WINESERVER" "$@"; }

# Creates the prefix on first use. A lock keeps parallel callers from
# initialising it twice.
tarnwick_wine_prefix() {
  if [ -f "$WINEPREFIX/.tarnwick-ready" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tarnwick-ready" ]; then
      echo "wine: setting up the prefix $WINEPREFIX" >&2
      tarnwick_wine wineboot -i >/dev/null 2>&1 || true
      # Without a window manager (Xvfb), Wine's managed windows wait 2 s on
      # every hide and get no title bar; unmanaged windows draw their own.
      tarnwick_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      tarnwick_wineserver -w
      touch "$WINEPREFIX/.tarnwick-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/.tarnwick-ready" ]
}
