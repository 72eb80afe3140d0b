#!/usr/bin/env bash
# Non-blank lines of C++ (.cpp and .h) under tests/ against those of the rest of the tree, and
# their ratio. Build folders and generated files are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs cat | grep -cv '^\s*$'; }
tests=$(count tests)
code=$(count . ':!tests')
echo "tests $tests  code $code  ratio $(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", t / c }')"
