#!/usr/bin/env bash
# One end-to-end run of the real Gravelin.exe under Wine:
#   tests/e2e/e2e.sh PROGRAM_DIR SHELLSIM_DIR
# PROGRAM_DIR holds Gravelin.exe and deda.twk, SHELLSIM_DIR shellsim.dll and
# shelldriver.exe. In a throwaway Wine prefix where shellsim.dll stands in
# for the shell's window list, inside a private network namespace whose
# 127.0.0.1:80 serves tests/e2e/pages, the program is started, four browser
# windows are opened (a pop-up without a toolbar, an address on the block
# list, a page embedding a spyware control, an ordinary page); then, with two
# spyware classes registered and two cookie files in the cookie folder, the
# machine is scanned, three of the four rows are ticked and cleaned, and a
# second scan must find only the one left. Last the program is told to exit
# from its tray menu, the squash log it leaves is checked, and the kill bit
# must be gone once the prefix's registry starts afresh.
# Prints one line per step; exits non-zero with the reason on the first
# failure. Everything it starts is ended on the way out.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

# The time the whole run may take; each step has its own smaller bound.
# Each scan pauses 35 ms on each of the prefix's ~600 classes (about 22 s).
TOTAL_LIMIT=220
# The program's tray commands "Exit" and "Launch Tarnwick".
EXIT_COMMAND=32775
LAUNCH_COMMAND=32781
# Two classes of the shipped definitions, seeded into the prefix: the first
# is ticked and cleaned, the second is left alone.
CLEANED_CLASS='{4A2AACF3-ADF6-11D5-98A9-00E018981B9E}'
CLEANED_NAME=NewDotNet
KEPT_CLASS='{C900B400-CDFE-11D3-976A-00E02913A9E0}'
KEPT_NAME=webHancer
COMPATIBILITY_KEY='HKLM\SOFTWARE\Microsoft\Internet Explorer\ActiveX Compatibility'
COOKIES=("user@ads.example.txt" "user@tracker.example.txt")
PROFILE_KEY='HKCU\Software\Ostrand\Gravelin\CurrentBuild'

step() { echo "e2e: $*"; }
fail() { echo "e2e: FAILED: $*" >&2; exit 1; }

# A 32-bit program (machine 014c in its PE header) sees the registry's 32-bit
# view (the classes it can load, and the machine's software keys below
# Wow6432Node): the seeds and checks use the program's view, and its stand-in
# shell is registered by the 32-bit regsvr32.
use_view_of() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  bits=64 regsvr32_exe=regsvr32
  if [ "$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')" = 014c ]; then
    bits=32 regsvr32_exe='C:\windows\syswow64\regsvr32.exe'
  fi
}
# The reg tool in the program's view of the registry; a bounded wait.
wreg() { timeout 60 "$TARNWICK_WINE" reg "$@" "/reg:$bits" </dev/null; }
# The same for a change that must succeed.
wreg_change() { wreg "$@" >/dev/null 2>&1 || fail "reg $* failed with status $?"; }

# ---------------------------------------------------------------------------
# Inside the network namespace (started by scripts/netns-run.sh, which has
# already started the page server and the prefix's wineserver).
# ---------------------------------------------------------------------------
inner() {
  local run=$1
  source "$root/scripts/wine-env.sh"
  cd "$run"
  use_view_of Gravelin.exe

  step "2. registering the stand-in shell and writing the profile"
  timeout 60 "$TARNWICK_WINE" "$regsvr32_exe" /s shellsim.dll </dev/null >/dev/null 2>&1 ||
    fail "regsvr32 shellsim.dll failed"
  # A crash ends the program at once with its report on standard error,
  # instead of waiting behind Wine's crash dialog.
  wreg_change add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  local name
  for name in Pop Real AppLog; do
    wreg_change add "$PROFILE_KEY" /v "$name" /t REG_DWORD /d 1 /f
  done

  step "   seeding the spyware classes $CLEANED_CLASS and $KEPT_CLASS, and two cookie files"
  local class
  for class in "$CLEANED_CLASS" "$KEPT_CLASS"; do
    wreg_change add "HKCR\\CLSID\\$class" /ve /d "Seeded $class" /f
  done
  local cookie_folder_win cookie_folder
  cookie_folder_win=$(timeout 60 "$TARNWICK_WINE" shelldriver.exe cookiefolder </dev/null 2>>"$run/driver.err" |
                        tr -d '\r') || fail "shelldriver cookiefolder failed"
  cookie_folder=$(timeout 60 "$TARNWICK_WINE" winepath -u "$cookie_folder_win" </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$cookie_folder" ] || fail "the cookie folder '$cookie_folder_win' has no Unix path"
  mkdir -p "$cookie_folder"
  local cookie
  for cookie in "${COOKIES[@]}"; do
    printf 'id\n12345\nads.example/\n' >"$cookie_folder/$cookie"
  done

  step "3. starting Gravelin.exe in $run"
  "$TARNWICK_WINE" Gravelin.exe </dev/null >"$run/gravelin.out" 2>&1 &
  local program=$!

  driver() { timeout 60 "$TARNWICK_WINE" shelldriver.exe "$@" </dev/null 2>>"$run/driver.err" | tr -d '\r'; }
  # Opens one window; prints its id.
  open_window() {
    local id
    id=$(driver open "$@") || fail "shelldriver open $* failed (see $run/driver.err)"
    [[ "$id" =~ ^[0-9]+$ ]] || fail "shelldriver open $*: no window id (got: $id)"
    echo "$id"
  }
  quits() { driver quits || fail "shelldriver quits failed"; }

  step "4. waiting for the stand-in shell; opening the four windows"
  # The shell connection is made once the splash window has gone; a slow
  # start gets up to 30 s (each try of the driver waits up to 10 s).
  local advises= tries=0
  while [ "$advises" != 1 ] && [ "$tries" -lt 3 ]; do
    kill -0 "$program" 2>/dev/null || fail "Gravelin.exe ended before connecting to the shell (see $run/gravelin.out)"
    advises=$(driver advises) || advises=
    tries=$((tries + 1))
    [ "$advises" = 1 ] || sleep 0.5
  done
  [ "$advises" = 1 ] ||
    fail "the program never subscribed to the window list's events (subscribers: '$advises'; see $run/driver.err)"

  # Each open fires "WindowRegistered": the sweep and the inspection are
  # done when the driver returns. A window told to quit stays listed until
  # it is closed, so every squashed window is closed before the next opens.
  local expected= id title url toolbar why d got
  while IFS='|' read -r title url toolbar why; do
    id=$(open_window "$title" "http://127.0.0.1/$url" "$toolbar" html)
    expected="${expected:+$expected }$id"
    [ "$(quits)" = "$expected" ] || fail "window $id $why was not told to quit once (quits: $(quits))"
    driver close "$id" >/dev/null || fail "shelldriver close $id failed"
    step "   window $id $why: told to quit"
  done <<'WINDOWS'
Pop-up without toolbar|plain.html|0|without a toolbar
Advertisement|zedo.com.html|1|on a block-listed address
Spyware carrier|spy.html|1|with a spyware control on its page
WINDOWS

  d=$(open_window "Ordinary page" "http://127.0.0.1/plain.html" 1 html)
  got=$(quits)
  [ "$got" = "$expected" ] || fail "expected quits '$expected' (not the ordinary page's $d), got '$got'"
  step "5. quits: $got (the ordinary page's $d left open)"

  # The scan runs in the program while the driver watches the status line.
  scan() {
    timeout 170 "$TARNWICK_WINE" shelldriver.exe scan </dev/null 2>>"$run/driver.err" | tr -d '\r'
  }
  rows() { driver rows || fail "shelldriver rows failed (see $run/driver.err)"; }
  # The number of the row whose name and detail are these, or nothing.
  row_of() { awk -F '\t' -v name="$1" -v detail="$2" '$2 == name && $3 == detail { print NR - 1 }' <<<"$3"; }

  step "6. showing the main window and scanning the computer"
  driver command "$LAUNCH_COMMAND" >/dev/null || fail "could not post Launch to the main window"
  local summary list
  summary=$(scan) || fail "the first scan did not complete (see $run/driver.err)"
  list=$(rows)
  step "   $summary"
  sed 's/^/     /' <<<"$list"
  [ "$summary" = "Total Spyware Found: 4" ] || fail "expected 'Total Spyware Found: 4', got '$summary'"
  [ "$(wc -l <<<"$list")" -eq 4 ] || fail "expected four rows, got: $list"
  # The rows of the two cookies and the cleaned class are ticked, not the last.
  local ticked=() row pair
  for pair in "${COOKIES[@]/%/|Tracking Cookie}" "$CLEANED_NAME|$CLEANED_CLASS" "$KEPT_NAME|$KEPT_CLASS"; do
    row=$(row_of "${pair%|*}" "${pair#*|}" "$list")
    [ -n "$row" ] || fail "no row for ${pair/|/ }"
    ticked+=("$row")
  done
  grep -q '^1' <<<"$list" && fail "rows are ticked before anyone ticked them"

  step "7. ticking rows ${ticked[*]:0:3} (the two cookies and $CLEANED_NAME) and cleaning"
  driver tick "${ticked[@]:0:3}" >/dev/null || fail "shelldriver tick failed (see $run/driver.err)"
  [ "$(rows | grep -c '^1')" -eq 3 ] || fail "three rows should be ticked: $(rows)"
  local answer
  answer=$(driver clean) || fail "Clean showed no message box (see $run/driver.err)"
  [ "$answer" = "Tarnwick Protection applied successfully!" ] || fail "Clean said '$answer'"
  step "   the program said: $answer"
  list=$(rows)
  [ -z "$list" ] || fail "the list is not empty after Clean: $list"
  for cookie in "${COOKIES[@]}"; do
    [ ! -e "$cookie_folder/$cookie" ] || fail "the ticked cookie $cookie is still there"
  done
  local flags
  flags=$(wreg query "$COMPATIBILITY_KEY\\$CLEANED_CLASS" /v "Compatibility Flags" 2>&1 | tr -d '\r') || true
  [[ "$flags" =~ Compatibility\ Flags[[:space:]]+REG_DWORD[[:space:]]+0x400($|[[:space:]]) ]] ||
    fail "no kill bit for $CLEANED_CLASS (reg query said: '$flags')"
  wreg query "$COMPATIBILITY_KEY\\$KEPT_CLASS" >/dev/null 2>&1 &&
    fail "the unticked class $KEPT_CLASS got a kill bit"
  step "   cookie files gone; $CLEANED_CLASS has the kill bit"

  step "8. scanning again"
  summary=$(scan) || fail "the second scan did not complete (see $run/driver.err)"
  list=$(rows)
  sed 's/^/     /' <<<"$list"
  [ "$summary" = "Total Spyware Found: 1" ] || fail "expected 'Total Spyware Found: 1', got '$summary'"
  [ "$(wc -l <<<"$list")" -eq 1 ] && [ -n "$(row_of "$KEPT_NAME" "$KEPT_CLASS" "$list")" ] ||
    fail "expected only $KEPT_NAME $KEPT_CLASS, got: $list"
  step "   $summary"

  step "9. sending the tray command Exit"
  driver command "$EXIT_COMMAND" >/dev/null || fail "could not post Exit to the main window"
  for _ in $(seq 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill "$program" 2>/dev/null && fail "Gravelin.exe did not end within 20 s of Exit"
  local status=0
  wait "$program" 2>/dev/null || status=$?
  grep -q -i 'unhandled' "$run/gravelin.out" &&
    fail "Gravelin.exe crashed: $(grep -i -m 2 'unhandled' "$run/gravelin.out" | tr -d '\r')"
  [ "$status" -eq 0 ] || fail "Gravelin.exe ended with status $status (see $run/gravelin.out)"
  step "   Gravelin.exe ended with status 0"
}

if [ "${1:-}" = "--inner" ]; then
  inner "$2"
  exit 0
fi

# ---------------------------------------------------------------------------
# Outside: the throwaway prefix and run folder, the display, the checks.
# ---------------------------------------------------------------------------
source "$root/scripts/wine-env.sh"
source "$root/scripts/build-lib.sh"
program_dir=$(cd "$1" && pwd)
shellsim_dir=$(cd "$2" && pwd)
started=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-e2e.XXXXXX")
prefix="$work/prefix"
run="$work/run"

cleanup() {
  local status=$?
  if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" timeout 20 "${WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
  fi
  tarnwick_display_down
  if [ "$status" -eq 0 ] || [ -z "${TARNWICK_E2E_KEEP:-}" ]; then
    rm -rf "$work"
  else
    echo "e2e: the run's files are kept in $work" >&2
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

step "1. fresh prefix $prefix, run folder $run"
mkdir -p "$run"
cp "$program_dir/Gravelin.exe" "$program_dir/deda.twk" "$shellsim_dir/shellsim.dll" \
   "$shellsim_dir/shelldriver.exe" "$run/"
# scripts/netns-run.sh copies the project's prefix when it is ready, and
# otherwise sets the new one up from scratch.
export TARNWICK_NET_WINEPREFIX="$prefix"

tarnwick_display_up </dev/null || fail "no display"

day_before=$(date +%-m/%-d/%Y)
timeout -k 5 "$TOTAL_LIMIT" bash "$root/scripts/netns-run.sh" "$here/pages" \
  bash "$here/e2e.sh" --inner "$run" </dev/null ||
  fail "the run inside the network namespace failed (status $?)"
day_after=$(date +%-m/%-d/%Y)

step "10. checking hist.twk"
[ -f "$run/hist.twk" ] || fail "the program left no hist.twk"
# The squash date is the day of the run: the day it began, or the next.
got=$(tr -d '\r' <"$run/hist.twk" | sed "s#\\\$$day_before\\\$#\$DAY\$#; s#\\\$$day_after\\\$#\$DAY\$#")
expected='Pop-up without toolbar$http://127.0.0.1/plain.html$DAY$Popup
Advertisement$http://127.0.0.1/zedo.com.html$DAY$Popup
Spyware carrier$http://127.0.0.1/spy.html$DAY$Spyware'
[ "$got" = "$expected" ] || fail "hist.twk holds (dates as DAY): $(tr '\n' '|' <<<"$got")"
tr -d '\r' <"$run/hist.twk" | sed 's/^/     /'

step "11. starting the prefix's registry afresh, as Windows restarts"
# The program has ended and the namespace's wineserver with it; a key made
# volatile lives only as long as the registry's server.
use_view_of "$program_dir/Gravelin.exe"
WINEPREFIX="$prefix" wreg query "HKCR\\CLSID\\$CLEANED_CLASS" >/dev/null 2>&1 ||
  fail "the seeded class $CLEANED_CLASS is not registered after the restart"
WINEPREFIX="$prefix" wreg query "$COMPATIBILITY_KEY\\$CLEANED_CLASS" >/dev/null 2>&1 &&
  fail "the kill bit of $CLEANED_CLASS outlived the restart: it was not volatile"
step "   the kill bit of $CLEANED_CLASS is gone; the class is registered still"

step "12. cleaning up"
step "passed in $(($(date +%s) - started)) s"
