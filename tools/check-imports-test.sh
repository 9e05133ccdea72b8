#!/usr/bin/env bash
# The Windows 7 check on a saved objdump listing: a known import passes, a newer one and a
# newer subsystem version fail; a missing objdump fails instead of skipping the check.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
status=0
fail() { echo "FAIL: $*"; status=1; }

out=$("$here/check-imports.sh" --dump "$here/testdata/objdump-newer-import.txt")
[ $? -eq 1 ] || fail "a newer import passed"
grep -q "CoIncrementMTAUsage from ole32.dll" <<<"$out" || fail "the newer import is not named"
grep -q "CoCreateInstance" <<<"$out" && fail "the known import is reported"
grep -q "subsystem version 6.2" <<<"$out" || fail "subsystem version 6.2 passed"

"$here/check-imports.sh" "$here/testdata/objdump-newer-import.txt" no-such-objdump >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing objdump did not fail the check"

[ "$status" -eq 0 ] && echo "check-imports: all cases pass"
exit $status
