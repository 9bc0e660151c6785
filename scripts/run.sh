#!/usr/bin/env bash
# Builds Gravelin.exe, lays out a folder with it and "deda.twk", and starts it
# under Wine with that folder as its working directory. Without a display it
# starts a virtual one, saves a screenshot a few seconds after start-up, and
# then ends the program (nobody could use it there).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
source scripts/build-lib.sh
export TARNWICK_WINEPREFIX="${TARNWICK_WINEPREFIX:-$root/build/wineprefix-run}"
source scripts/wine-env.sh

# The shipping target is the 32-bit build; where the kernel runs no 32-bit
# programs the 64-bit build stands in.
if [ "$TARNWICK_WINE32" = 1 ]; then
  build=build/win32; toolchain=cmake/toolchain-mingw-i686.cmake
else
  build=build/win64; toolchain=cmake/toolchain-mingw-x86_64.cmake
  echo "run: this kernel runs no 32-bit programs; starting the x86_64 build"
fi
tarnwick_configure "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$toolchain
cmake --build "$build" --target Gravelin tarnwick_definitions

folder="$root/build/run"
mkdir -p "$folder"
cp "$build/bin/Gravelin.exe" "$build/bin/deda.twk" "$folder/"

tarnwick_wine_prefix
headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  tarnwick_display_up
  echo "run: no display; started a virtual one at $DISPLAY"
fi

cd "$folder"
echo "run: starting Gravelin.exe in $folder"
if [ "$headless" = 0 ]; then
  tarnwick_wine Gravelin.exe
  exit 0
fi

tarnwick_wine Gravelin.exe >/dev/null 2>&1 &
pid=$!
sleep "${TARNWICK_SHOT_DELAY:-8}"
mkdir -p "$root/out"
shot="$root/out/screenshot.png"
import -window root -display "$DISPLAY" "$shot"
echo "run: screenshot of the screen saved to $shot"
# The main window alone, for the README.
win=$(xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null | head -n 1 || true)
if [ -n "$win" ]; then
  import -window "$win" -display "$DISPLAY" "$root/out/main-window.png"
  echo "run: screenshot of the main window saved to $root/out/main-window.png"
fi
tarnwick_wineserver -k || true
wait "$pid" 2>/dev/null || true
tarnwick_display_down
echo "run: program ended (no display to use it on)"
