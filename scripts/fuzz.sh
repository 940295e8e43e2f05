#!/usr/bin/env bash
# Builds everything Qt-free with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/, runs the core tests there once, then runs every fuzz target for a bounded time
# over a copy of its corpus (FUZZ_SECONDS each, 30 by default). New crashing inputs are left in
# build-fuzz/crashes/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DEBOOK_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEBOOK_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure -j"$(nproc)")

status=0
for target in $(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//'); do
  corpus="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  cp -r "$root/fuzz/corpus/$target/." "$corpus/" 2>/dev/null || true
  # The link reader also starts from the sample book's own pages and style sheet.
  if [ "$target" = fuzz_page_links ]; then
    find "$root/samples/book" \( -name '*.html' -o -name '*.css' \) -exec cp {} "$corpus/" \;
  fi
  echo "== $target: ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
       -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" 2>"$build/$target.log"; then
    tail -n 40 "$build/$target.log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units' "$build/$target.log" || true
done
exit $status
