#!/usr/bin/env python3
"""Adds up the GoogleTest cases that ctest ran in each build folder and prints
one closing line: 'N passed, N failed'."""
import re
import sys
from pathlib import Path

passed_re = re.compile(r"^\[  PASSED  \] (\d+) tests?\.", re.M)
failed_re = re.compile(r"^\[  FAILED  \] (\d+) tests?, listed below", re.M)
skipped_re = re.compile(r"^\[  SKIPPED \] (\d+) tests?[.,]", re.M)

total_pass = total_fail = total_skip = 0
for folder in sys.argv[1:]:
    log = Path(folder) / "Testing" / "Temporary" / "LastTest.log"
    if not log.exists():
        continue
    text = log.read_text(errors="replace")
    p = sum(int(n) for n in passed_re.findall(text))
    f = sum(int(n) for n in failed_re.findall(text))
    s = sum(int(n) for n in skipped_re.findall(text))
    print(f"  {folder}: {p} test cases passed, {f} failed, {s} skipped")
    total_pass += p
    total_fail += f
    total_skip += s
print(f"{total_pass} passed, {total_fail} failed, {total_skip} skipped")
