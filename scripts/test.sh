#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
(cd "$build" && ctest --output-on-failure -j"$(nproc)")

# Release too (-O3, where GCC warns differently), warnings still errors; the GoogleTest cases of
# the Qt-free code run again there (the hostile books once, in the main build, are enough).
release=${RELEASE_BUILD_DIR:-$root/build-release}
BUILD_DIR=$release BUILD_TYPE=Release EBOOK_PORTABLE=OFF "$root/scripts/build.sh"
(cd "$release" && ctest --output-on-failure -j"$(nproc)" -R '^[A-Z]' -E 'Hostile')

# Sanitizers and fuzzing: every test again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then each fuzz target for a bounded time over its corpus.
FUZZ_SECONDS=${FUZZ_SECONDS:-30} "$root/scripts/fuzz.sh"
