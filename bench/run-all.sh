#!/usr/bin/env bash
# Runs every benchmark against the default build; figures go to standard output.
cd "$(dirname "$0")/.."
cmake --build build --target bench_import_pipeline bench_file_reading bench_bomb_refusal bench_label_sheet bench_album_page bench_album_file bench_service_get bench_mail brivane-service brivane >/dev/null
for script in bench/*/*-bench.sh; do
  echo "== $script"
  "$script" build || echo "(benchmark failed: $script)"
done
