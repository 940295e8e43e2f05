#!/usr/bin/env bash
# Usage: check-missing-runtime.sh BUILD_DIR
# A plain book started where Qt is out of reach: in a private mount namespace the system's
# library folder is replaced by links to everything in it but the Qt libraries, so the
# loader cannot find them. The book must name what to install, on stderr, and end with 127,
# before the loader ever complains. Exit 77 (skipped) where no mount namespace can be made.
set -euo pipefail
build=$1
if [[ ${1:-} != --inside ]]; then
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "skipped: no private mount namespace can be made here (needs root or user namespaces)"
    exit 77
  fi
  exec unshare --mount --propagation private bash "$0" --inside "$build"
fi
build=$2
work=$(mktemp -d)
libs=/usr/lib/x86_64-linux-gnu
mkdir -p "$work/real" "$work/links" "$work/source"
for path in "$libs"/*; do
  name=${path##*/}
  [[ $name == libQt6* ]] || ln -s "$work/real/$name" "$work/links/$name"
done
printf '<title>p</title>page' >"$work/source/index.html"
"$build/bin/ebook-pack" build "$work/source" -o "$work/book.ebook" >/dev/null
mount --bind "$libs" "$work/real"
mount --bind "$work/links" "$libs"

status=0
set +e
"$work/book.ebook" --quit-after-load >"$work/out" 2>"$work/err" </dev/null
code=$?
set -e
err=$(cat "$work/err")
if [[ $code -ne 127 ]]; then echo "exit status $code, not 127"; status=1; fi
for expected in 'Qt 6 WebEngine' 'libQt6WebEngineWidgets\.so\.6' \
                'sudo apt install .*libqt6webenginewidgets6'; do
  grep -qE "$expected" <<<"$err" || { echo "stderr lacks /$expected/"; status=1; }
done
if grep -q 'error while loading shared libraries' <<<"$err"; then
  echo "the loader was left to refuse the viewer"
  status=1
fi
# The same namespace still runs what needs no Qt.
"$build/bin/ebook-pack" list "$work/book.ebook" >/dev/null || { echo "ebook-pack does not run"; status=1; }
printf 'stderr (exit %s):\n%s\n' "$code" "$err"
umount "$libs"
umount "$work/real"
rm -rf "$work"
exit $status
