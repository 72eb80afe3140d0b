#!/usr/bin/env bash
# Runs a fuzz target over its seed corpus, which it never writes to: generated inputs that reach
# new code go to a scratch folder, deleted afterwards; crashing inputs go to the artifact folder
# named by FUZZ_ARTIFACTS (default: the current directory).
# Usage: run-fuzzer.sh FUZZER SEED_CORPUS [libFuzzer options...]
set -euo pipefail
fuzzer=$1
seeds=$2
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=${FUZZ_ARTIFACTS:-$PWD}
mkdir -p "$artifacts"
"$fuzzer" -artifact_prefix="$artifacts/" "$@" "$scratch" "$seeds"
