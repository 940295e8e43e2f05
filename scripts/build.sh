#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR): everything, or only the targets named
# (`build.sh ebook-pack ebook-viewer-image`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
# ccache, when installed, keeps rebuilds of other clones and build types short.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DEBOOK_WERROR=ON \
  -DEBOOK_PORTABLE=${EBOOK_PORTABLE:-ON} \
  -DEBOOK_BUILD_TESTS=${EBOOK_BUILD_TESTS:-ON} "${launcher[@]}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
