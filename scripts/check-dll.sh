#!/usr/bin/env bash
# Checks a built provider DLL with objdump -p: it exports exactly enumerateInstance and snmpFree,
# by their plain names, and imports from system DLLs only (the compiler's runtime is linked in).
# Usage: scripts/check-dll.sh <objdump> <dll>
set -euo pipefail
objdump=$1
dll=$2

system_dlls='^(kernel32|msvcrt|advapi32|ole32|oleaut32|ws2_32|odbc32)\.dll$'

headers=$("$objdump" -p "$dll")
# Export lines look like "\t[   0] enumerateInstance" in the name pointer table.
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
    sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort | tr '\n' ' ')
imports=$(sed -n 's/^[[:space:]]*DLL Name: \(.*\)$/\1/p' <<<"$headers" | sort -f | tr '\n' ' ')

status=0
if [ "$exports" != "enumerateInstance snmpFree " ]; then
    echo "$dll: exports [$exports], want exactly [enumerateInstance snmpFree]" >&2
    status=1
fi
for import in $imports; do
    if ! grep -qiE "$system_dlls" <<<"$import"; then
        echo "$dll: imports $import, which is not a system DLL" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "$dll: exports ${exports% }; imports ${imports% }"
exit $status
