#!/usr/bin/env bash
# Lints a MIB module with smilint at level 4 and loads it with snmptranslate, over the base
# modules in the folder given. Any message about the module fails.
set -euo pipefail
mib=$1
base=$2
module_dir=$(dirname "$mib")
messages=$(SMIPATH="$base" smilint -l 4 "$mib" 2>&1)
if [ -n "$messages" ]; then
    echo "smilint:"; echo "$messages"; exit 1
fi
# snmptranslate writes its persistent state; keep it out of the machine's folders.
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
tree=$(SNMP_PERSISTENT_DIR=$state SNMPCONFPATH=$state \
    snmptranslate -M "$base:$module_dir" -m NVX4-MIB -Tp 2>"$state/errors")
if grep -F "$(basename "$mib")" "$state/errors"; then exit 1; fi
# Every table the generator writes is in the tree, with its columns.
tables=$(grep -Ec '\+--nvx4[A-Za-z0-9]*Table\(' <<<"$tree" || true)
if [ "$tables" -ne 45 ]; then
    echo "snmptranslate shows $tables tables, not 45"; exit 1
fi
echo "NVX4-MIB: smilint clean, snmptranslate loads 45 tables"
