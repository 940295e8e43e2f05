#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
cd "$build"
ctest --output-on-failure -j"$(nproc)"

# Sanitizers and fuzzing: every test again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then each fuzz target for a bounded time over its corpus.
FUZZ_SECONDS=${FUZZ_SECONDS:-30} "$root/scripts/fuzz.sh"
