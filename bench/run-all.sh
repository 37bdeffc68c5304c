#!/usr/bin/env bash
# Runs every benchmark against the default build; figures go to standard output.
cd "$(dirname "$0")/.."
for script in bench/*/*-bench.sh; do
  echo "== $script"
  "$script" build || echo "(benchmark failed: $script)"
done
