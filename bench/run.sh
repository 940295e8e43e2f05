#!/usr/bin/env bash
# Builds and runs every benchmark and prints one table of figures and ratios.
# Each figure and its reference are measured side by side in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
programs=(bench_archive bench_extract bench_pack bench_search ebook_bench_startup)
cmake --build "$build" -j"$(nproc)" --target "${programs[@]}" >/dev/null

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
printf 'benchmark\tmeasure\tfigure\treference\tratio\ttarget\n' >"$rows"
for program in "${programs[@]}"; do
  path=$(find "$build/bench" -type f -name "$program" -perm -u+x | head -n 1)
  # Rows have six tab-separated fields; every other line is commentary.
  "$path" | while IFS= read -r line; do
    if [[ $(tr -cd '\t' <<<"$line" | wc -c) -eq 5 ]]; then
      printf '%s\n' "$line" >>"$rows"
    else
      printf '%s\n' "$line" >&2
    fi
  done
done
echo
column -t -s $'\t' "$rows"
