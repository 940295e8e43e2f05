#!/usr/bin/env bash
# Usage: check-deb.sh BUILD_DIR
# The Debian package: built with CPack, its files, dependencies and stripped programs checked,
# a book built with the packaged tool, and lintian without errors.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/*.deb)
files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
status=0
for expected in ./usr/bin/ebook ./usr/bin/ebook-pack \
                ./usr/lib/quirel-ebook/ebook-launch ./usr/lib/quirel-ebook/ebook-viewer \
                ./usr/share/applications/quirel-ebook.desktop \
                ./usr/share/icons/hicolor/scalable/apps/quirel-ebook.svg \
                ./usr/share/mime/packages/quirel-ebook.xml \
                ./usr/share/man/man1/ebook.1.gz ./usr/share/man/man1/ebook-pack.1.gz \
                ./usr/share/doc/quirel-ebook/copyright ./usr/share/doc/quirel-ebook/changelog.gz; do
  if ! grep -qx "$expected" <<<"$files"; then
    echo "missing from the package: $expected"
    status=1
  fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6webenginewidgets6 zlib1g; do
  if ! grep -q "$library" <<<"$depends"; then
    echo "the package does not depend on $library: $depends"
    status=1
  fi
done
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/ebook-pack" help >/dev/null || { echo "the packaged ebook-pack does not run"; status=1; }
for program in usr/bin/ebook usr/bin/ebook-pack usr/lib/quirel-ebook/ebook-launch \
               usr/lib/quirel-ebook/ebook-viewer; do
  if readelf -S "$work/root/$program" | grep -qE '\.(symtab|debug_)'; then
    echo "not stripped: /$program"
    status=1
  fi
done
if ! grep -q '^MimeType=application/x-quirel-ebook;' \
     "$work/root/usr/share/applications/quirel-ebook.desktop"; then
  echo "the desktop entry declares no MIME type for book files"
  status=1
fi

# A book built by the packaged tool is made from the packaged (stripped) images.
mkdir -p "$work/source"
echo '<title>p</title>' >"$work/source/index.html"
"$work/root/usr/bin/ebook-pack" build "$work/source" -o "$work/book.ebook" >/dev/null
size=$(stat -c %s "$work/book.ebook")
if ((size > 1000000)); then
  echo "a book built by the packaged ebook-pack is $size bytes"
  status=1
fi

# lintian: no errors (warnings and notes are printed for the record).
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  if grep -q '^E: ' "$work/lintian.log"; then
    echo "lintian reports errors"
    status=1
  fi
else
  echo "lintian is not installed (scripts/setup.sh installs it)"
  status=1
fi
[[ $status -eq 0 ]] && echo "$(basename "$deb"): $(wc -l <<<"$files") paths, Depends: $depends"
exit $status
