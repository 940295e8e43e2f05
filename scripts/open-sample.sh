#!/usr/bin/env bash
# Installs what is missing, builds, builds the sample book and opens it.
# On a machine without a display the viewer says so, renders its window once into a PNG
# and prints the PNG's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" viewer
# Only what showing the sample needs: the book tool and the two program images a plain book is
# made of. The tests and the portable runtime are the test command's to build.
EBOOK_PORTABLE=${EBOOK_PORTABLE:-OFF} EBOOK_BUILD_TESTS=OFF "$root/scripts/build.sh" ebook-pack ebook-viewer-image ebook-launch-image
build=${BUILD_DIR:-$root/build}
book="$build/sample/sample-book.ebook"
mkdir -p "$build/sample"
"$build/bin/ebook-pack" build "$root/samples/book" -o "$book" \
  --settings "$root/samples/book.ini" --toc "$root/samples/book.toc.txt" \
  --logo "$root/samples/logo.bmp" --buttons "$root/samples/buttons"
"$build/bin/ebook-pack" list "$book"
# Chromium refuses to run as root without its sandbox switched off.
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
exec "$book"
