#!/usr/bin/env bash
# Usage: check-deb.sh BUILD_DIR
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
                ./usr/share/applications/quirel-ebook.desktop \
                ./usr/share/icons/hicolor/scalable/apps/quirel-ebook.svg; do
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
[[ $status -eq 0 ]] && echo "$(basename "$deb"): $(wc -l <<<"$files") paths, Depends: $depends"
exit $status
