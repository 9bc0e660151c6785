#!/usr/bin/env bash
# The way of a Windows user through what "make dist" ships, under Wine in a
# fresh prefix:
#   tests/dist/install.sh DIST_DIR SHELLSIM_DIR
# DIST_DIR holds the setup program, the zip and SHA256SUMS; SHELLSIM_DIR
# shellsim.dll and shelldriver.exe of the same build. Silent install; the
# files, the Start-menu shortcut and the entry in the installed programs;
# the program started from the system folder as at log-on, where it must find
# its definitions and log beside itself and name itself in the Run value (the
# end-to-end run covers a start in its own folder and Exit); a second install
# while it runs, which ends it and keeps the log; last the silent uninstall,
# which must leave nothing behind. Prints a line per step; exits non-zero with the
# reason at the first failure.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dist=$(cd "$1" && pwd)
tools=$(cd "$2" && pwd)
step() { echo "install: $*"; }
fail() { echo "install: FAILED: $*" >&2; exit 1; }

LOAD_AT_STARTUP_COMMAND=32783
# A class of the definitions, registered so that a scan shows whether the
# definitions were read.
SEEDED_CLASS='{1B7D753B-1981-4BD2-91F3-6D055EE113A0}'
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
RUN_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'

setups=("$dist"/Tarnwick-*-setup.exe)
[ "${#setups[@]}" -eq 1 ] && [ -f "${setups[0]}" ] || fail "expected one setup program in $dist"
setup=${setups[0]}
version=${setup##*/Tarnwick-}
version=${version%-setup.exe}
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-install.XXXXXX")
export TARNWICK_WINEPREFIX="$work/prefix"
source "$here/../../scripts/wine-env.sh"
source "$here/../../scripts/build-lib.sh"
program=
cleanup() {
  local status=$?
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  timeout 20 "$WINESERVER" -k 2>/dev/null || true
  tarnwick_display_down
  if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "install: the run's files are kept in $work" >&2; fi
}
trap cleanup EXIT
tarnwick_display_up </dev/null || fail "no display"
# No desktop menu entries outside the prefix for the shortcut.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
tarnwick_wine_prefix || fail "the Wine prefix could not be set up"

w() { timeout 60 "$TARNWICK_WINE" "$@" </dev/null 2>>"$work/wine.err" | tr -d '\r'; }
driver() { timeout 180 "$TARNWICK_WINE" "$tools/shelldriver.exe" "$@" </dev/null 2>>"$work/wine.err" | tr -d '\r'; }
# The setup program and the program are 32-bit: they see the 32-bit view.
value() { w reg query "$1" /v "$2" /reg:32 | awk -v name="$2" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }'; }
start_program() {
  (cd "$1" && exec "$TARNWICK_WINE" "$folder_win\\Gravelin.exe" </dev/null >>"$work/gravelin.out" 2>&1) &
  program=$!
  for _ in 1 2 3; do [ "$(driver advises)" = 1 ] && return 0; sleep 0.5; done
  fail "Gravelin.exe started in $1 never connected to the stand-in shell"
}
wait_for_end() {
  for _ in $(seq 200); do kill -0 "$program" 2>/dev/null || { program=; return 0; }; sleep 0.1; done
  fail "Gravelin.exe did not end $1"
}

step "1. silent install of Tarnwick $version into a fresh prefix"
w "$setup" /S || fail "setup /S ended with status $?"
folder_win="$(w cmd /c echo %LOCALAPPDATA%)\\Programs\\Tarnwick"
folder=$(w winepath -u "$folder_win")
python3 -m zipfile -e "$dist/Tarnwick-$version-win32.zip" "$work/zip"
for file in Gravelin.exe deda.twk; do
  cmp -s "$folder/$file" "$work/zip/Tarnwick-$version/$file" || fail "$file is not installed as the zip holds it"
done
[ -f "$folder/Uninstall.exe" ] || fail "no Uninstall.exe in $folder"

step "2. the Start-menu shortcut and the entry in the installed programs"
shortcut_win="$(w cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Tarnwick.lnk"
mapfile -t link < <(driver shortcut "$shortcut_win")
[ "${link[*]:0:3}" = "$folder_win\\Gravelin.exe $folder_win $folder_win\\Gravelin.exe,0" ] ||
  fail "the shortcut says: ${link[*]}"
expected=("DisplayName=Tarnwick" "DisplayVersion=$version" "Publisher=Ostrand" "DisplayIcon=$folder_win\\Gravelin.exe,0"
          "UninstallString=\"$folder_win\\Uninstall.exe\"" "QuietUninstallString=\"$folder_win\\Uninstall.exe\" /S")
for pair in "${expected[@]}"; do
  [ "$(value "$UNINSTALL_KEY" "${pair%%=*}")" = "${pair#*=}" ] || fail "the entry's ${pair%%=*} is not '${pair#*=}'"
done
[[ "$(value "$UNINSTALL_KEY" EstimatedSize)" =~ ^0x[0-9a-f]+$ ]] || fail "the entry has no EstimatedSize"

step "3. started in the system folder, as at log-on"
(cd "$tools" && w 'C:\windows\syswow64\regsvr32.exe' /s shellsim.dll) || fail "regsvr32 shellsim.dll failed"
# The runs of "$" are one separator: the program rewrites the line with single ones.
printf 'Seeded$$http://a.test/$1/2/2004$Popup\r\n' >"$folder/hist.twk"
w reg add "HKCR\\CLSID\\$SEEDED_CLASS" /ve /d Seeded /f /reg:32 >/dev/null
system=$(w winepath -u 'C:\windows\system32')
start_program "$system"
summary=$(driver scan) || fail "the scan did not complete"
[ "$summary" = "Total Spyware Found: 1" ] || fail "the definitions were not read beside the program: $summary"
driver command "$LOAD_AT_STARTUP_COMMAND" >/dev/null
sleep 1
[ "$(value "$RUN_KEY" Gravelin)" = "$folder_win\\Gravelin.exe" ] || fail "the Run value is '$(value "$RUN_KEY" Gravelin)'"

step "4. installing again while it runs: Setup ends it, the log stays"
w "$setup" /S || fail "the second setup /S ended with status $?"
wait_for_end "when Setup asked it to"
[ "$(tr -d '\r' <"$folder/hist.twk")" = 'Seeded$http://a.test/$1/2/2004$Popup' ] ||
  fail "hist.twk beside the program holds: $(cat "$folder/hist.twk")"
for dir in system32 syswow64; do
  [ ! -e "$(dirname "$system")/$dir/hist.twk" ] || fail "a log was written in the system folder $dir"
done
cmp -s "$folder/Gravelin.exe" "$work/zip/Tarnwick-$version/Gravelin.exe" || fail "Gravelin.exe changed"

step "5. silent uninstall"
w "$folder_win\\Uninstall.exe" /S || fail "Uninstall.exe /S ended with status $?"
# The uninstaller runs on from a copy of itself: wait for the prefix's processes.
timeout 60 "$WINESERVER" -w
[ ! -e "$folder" ] || fail "left behind in $folder: $(ls -A "$folder")"
[ ! -e "$(w winepath -u "$shortcut_win")" ] || fail "the shortcut is still there"
! w reg query "$UNINSTALL_KEY" >/dev/null || fail "the entry in the installed programs is still there"
[ -z "$(value "$RUN_KEY" Gravelin)" ] || fail "the Run value is still there"
step "passed"
