#!/usr/bin/env bash
# A scripted demonstration of the real-time monitor: Gravelin.exe under Wine
# in a throwaway prefix where the stand-in shell (shellsim.dll) plays the
# browser windows, with the pages served from tests/e2e/pages in a private
# network namespace (needs root). A few windows open one after another; the
# screen is captured while the tray icon plays its squash animation, and the
# main window after the squashes. Everything is saved under out/ and the
# paths are printed. Without a display a virtual one is started.
#   TARNWICK_DEMO_BUILD=build/<folder>  use another 64-bit build folder
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${1:-}" = "--inner" ]; then
  # Inside the namespace; $2 the run folder, $3 the output folder.
  run=$2 out=$3
  source scripts/wine-env.sh
  cd "$run"
  w() { timeout 25 "$TARNWICK_WINE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
  w regsvr32 /s shellsim.dll >/dev/null
  for name in Pop Real AppLog Anim; do
    w reg add 'HKCU\Software\Ostrand\Gravelin\CurrentBuild' /v "$name" /t REG_DWORD /d 1 /f >/dev/null
  done
  "$TARNWICK_WINE" Gravelin.exe </dev/null >/dev/null 2>&1 &
  program=$!
  for _ in 1 2 3; do
    [ "$(w shelldriver.exe advises || true)" = 1 ] && break
    sleep 0.5
  done
  [ "$(w shelldriver.exe advises || true)" = 1 ] || { echo "demo: the program did not connect to the shell" >&2; exit 1; }
  echo "demo: Gravelin.exe is running"

  shot=0
  squash() {
    local title=$1 url=$2 toolbar=$3 id
    id=$(w shelldriver.exe open "$title" "$url" "$toolbar" html)
    echo "demo: opened \"$title\" ($url, toolbar $toolbar) as window $id"
    # The animation runs for about a second from the squash.
    local i tray
    tray=$(xdotool search --name '^Wine System Tray$' 2>/dev/null | head -n 1 || true)
    for i in 1 2 3; do
      shot=$((shot + 1))
      if [ -n "$tray" ]; then
        # The tray area alone, enlarged, then the whole screen.
        import -window "$tray" -display "$DISPLAY" png:- | convert - -scale 400% "$out/demo-squash-$shot-tray.png"
      fi
      import -window root -display "$DISPLAY" "$out/demo-squash-$shot.png"
      sleep 0.1
    done
    w shelldriver.exe close "$id" >/dev/null
    sleep 2
  }
  squash "Pop-up without toolbar" "http://127.0.0.1/plain.html" 0
  squash "Advertisement" "http://127.0.0.1/zedo.com.html" 1
  squash "Spyware carrier" "http://127.0.0.1/spy.html" 1
  id=$(w shelldriver.exe open "Ordinary page" "http://127.0.0.1/plain.html" 1 html)
  echo "demo: opened \"Ordinary page\" as window $id (left alone); told to quit: $(w shelldriver.exe quits)"

  # The main window, brought up as the tray's "Launch" does.
  w shelldriver.exe command 32781 >/dev/null
  sleep 1
  win=$(xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null | head -n 1 || true)
  if [ -n "$win" ]; then
    import -window "$win" -display "$DISPLAY" "$out/demo-main-window.png"
  else
    import -window root -display "$DISPLAY" "$out/demo-main-window.png"
  fi

  w shelldriver.exe command 32775 >/dev/null
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program" 2>/dev/null && echo "demo: Gravelin.exe did not end after Exit" >&2
  [ -f hist.twk ] && cp hist.twk "$out/demo-hist.twk"
  exit 0
fi

bash scripts/install-deps.sh
source scripts/build-lib.sh
source scripts/wine-env.sh

build=${TARNWICK_DEMO_BUILD:-build/win64}
tarnwick_configure "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
cmake --build "$build" --target Gravelin tarnwick_definitions shellsim shelldriver

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-demo.XXXXXX")
prefix="$work/prefix"
run="$work/run"
out="$root/out"
mkdir -p "$run" "$out"
rm -f "$out"/demo-*
cp "$build/bin/Gravelin.exe" "$build/bin/deda.twk" "$build/tools/shellsim/shellsim.dll" \
   "$build/tools/shellsim/shelldriver.exe" "$run/"

cleanup() {
  WINEPREFIX="$prefix" timeout 20 "$WINESERVER" -k 2>/dev/null || true
  tarnwick_display_down
  rm -rf "$work"
}
trap cleanup EXIT

tarnwick_display_up
echo "demo: display $DISPLAY"
export TARNWICK_NET_WINEPREFIX="$prefix"
timeout -k 5 120 bash scripts/netns-run.sh tests/e2e/pages bash scripts/demo.sh --inner "$run" "$out" </dev/null

echo "demo: saved"
for file in "$out"/demo-*; do echo "  $file"; done
