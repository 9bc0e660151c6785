#!/usr/bin/env bash
# Reads the shipped Gravelin.exe as a security review of a Windows program
# does, from its PE headers, with the cross binutils' objdump:
#   tests/dist/pe-check.sh OBJDUMP SHIPPED_EXE UNSTRIPPED_EXE
# Stripped (no DWARF, no symbol table), relocatable with dynamic base (and
# high-entropy addresses on x86_64), DEP, terminal-server aware, imports
# only system DLLs; the unstripped file beside it shows the stack protector
# at work in the program's functions.
set -euo pipefail
objdump=$1 shipped=$2 unstripped=$3
fail() { echo "pe-check: FAILED: $shipped: $*" >&2; exit 1; }

headers=$("$objdump" -p "$shipped")
sections=$("$objdump" -h "$shipped")
! grep -q '\.debug_' <<<"$sections" || fail "DWARF sections: $(grep -o '\.debug_[a-z]*' <<<"$sections" | xargs)"
! grep -q 'HAS_SYMS' <<<"$("$objdump" -f "$shipped")" || fail "a symbol table"
grep -q 'HAS_SYMS' <<<"$("$objdump" -f "$unstripped")" || fail "the unstripped file $unstripped has no symbols"

wanted=(DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE)
# PE32+ (020b) is the 64-bit image.
[ "$(awk '$1 == "Magic" { print $2 }' <<<"$headers")" = 020b ] && wanted+=(HIGH_ENTROPY_VA)
for flag in "${wanted[@]}"; do
  grep -qw "$flag" <<<"$headers" || fail "DllCharacteristics lack $flag"
done
! grep -q 'relocations stripped' <<<"$headers" || fail "relocations stripped"
grep -qE '^ +[0-9]+ \.reloc ' <<<"$sections" || fail "no .reloc section"

system=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll winmm.dll ws2_32.dll "
imports=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers")
grep -qx kernel32.dll <<<"$imports" || fail "no import table read (got: $imports)"
for dll in $imports; do
  [[ "$system" == *" $dll "* ]] || fail "imports $dll, which Windows does not bring"
done

calls=$("$objdump" -d "$unstripped" | grep -c 'call.*<_*_stack_chk_fail>' || true)
[ "$calls" -gt 0 ] || fail "no function checks its stack canary"
echo "pe-check: $shipped: $(stat -c %s "$shipped") bytes; ${wanted[*]}; imports $(xargs <<<"$imports"); $calls stack checks"
