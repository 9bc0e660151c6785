# Sourced: configure and build the four builds of the tree.
tarnwick_configure() {
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  fi
}

tarnwick_configure_all() {
  tarnwick_configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
  tarnwick_configure build/asan -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF
  tarnwick_configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
  tarnwick_configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
}

tarnwick_build_all() {
  local d
  for d in build/native build/asan build/win32 build/win64; do
    echo "== build $d"
    cmake --build "$d"
  done
}

# A virtual display for the Windows programs when there is none.
tarnwick_display_up() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 91 120); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  TARNWICK_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

tarnwick_display_down() {
  if [ -n "${TARNWICK_XVFB_PID:-}" ]; then
    kill "$TARNWICK_XVFB_PID" 2>/dev/null || true
    wait "$TARNWICK_XVFB_PID" 2>/dev/null || true
    TARNWICK_XVFB_PID=
  fi
}
