#!/usr/bin/env bash
# Usage: check-portable.sh BUILD_DIR
# A portable sample book started where no Qt library of the system can be reached (a private
# mount namespace replaces the library folder by links to everything but Qt, and hides Qt's
# own folders): its start page renders offscreen from the runtime it unpacks into the cache;
# a second start reuses that runtime; two books started at once share one; a runtime cut
# short is unpacked again; and a program the viewer starts does not inherit the runtime's
# paths. Exit 77 (skipped) without the runtime (EBOOK_PORTABLE) or a mount namespace.
set -euo pipefail
if [[ $1 != --inside ]]; then
  build=$1
  if [[ ! -s $build/lib/quirel-ebook/runtime.frame ]]; then
    echo "skipped: no portable runtime was built (configure with -DEBOOK_PORTABLE=ON)"
    exit 77
  fi
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "skipped: no private mount namespace can be made here (needs root or user namespaces)"
    exit 77
  fi
  exec unshare --mount --propagation private bash "$0" --inside "$build"
fi
build=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
status=0
fail() { echo "$*"; status=1; }

book=$work/sample.ebook
"$build/bin/ebook-pack" build "$root/samples/book" -o "$book" --settings "$root/samples/book.ini" \
  --toc "$root/samples/book.toc.txt" --logo "$root/samples/logo.bmp" \
  --buttons "$root/samples/buttons" --portable >/dev/null
size=$(stat -c %s "$book")
echo "portable sample book: $size bytes"
((size < 85000000)) || fail "the portable sample book is $size bytes, not under 85 MB"

# A book whose start page opens a file: the opener it starts reports its environment.
mkdir -p "$work/source" "$work/bin"
printf '<title>open</title><script>location.href="#DO#OPEN#/nowhere/file.pdf"</script>' \
  >"$work/source/index.html"
printf '[cSettings]\r\nDATA=0000000000000000000000000000000000\r\nhome=index.html\r\n' >"$work/open.ini"
"$build/bin/ebook-pack" build "$work/source" -o "$work/open.ebook" --settings "$work/open.ini" \
  --portable >/dev/null
printf '#!/bin/sh\nenv >"%s/opener.env"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

"$build/bin/ebook-pack" build "$work/source" -o "$work/plain.ebook" --settings "$work/open.ini" >/dev/null

# Qt out of reach.
libs=/usr/lib/x86_64-linux-gnu
mkdir -p "$work/real" "$work/links" "$work/empty"
for path in "$libs"/*; do
  name=${path##*/}
  [[ $name == libQt6* || $name == qt6 ]] || ln -s "$work/real/$name" "$work/links/$name"
done
mount --bind "$libs" "$work/real"
mount --bind "$work/links" "$libs"
for folder in /usr/lib/qt6 /usr/share/qt6; do
  [[ -d $folder ]] && mount --bind "$work/empty" "$folder"
done
if ldconfig -p | grep -q libQt6Core && [[ -e $libs/libQt6Core.so.6 ]]; then
  fail "the system's Qt is still in reach"
fi

# The same book without the runtime cannot start here.
set +e
"$work/plain.ebook" --quit-after-load >/dev/null 2>&1 </dev/null
plain=$?
set -e
[[ $plain -eq 127 ]] || fail "a plain book started with Qt out of reach (exit $plain)"

export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cache=$XDG_CACHE_HOME/quirel-ebook

start() {  # start BOOK: the first page's address, or the output when there is none
  local out
  out=$("$1" --quit-after-load 2>&1 </dev/null || true)
  grep -E '^loaded ' <<<"$out" || printf 'no page: %s\n' "$(tail -n 5 <<<"$out")"
}
runtimes() { find "$cache" -mindepth 1 -maxdepth 1 -name 'runtime-*' | wc -l; }

first=$(start "$book")
[[ $first == "loaded ebook://book/index.html" ]] || fail "first start: $first"
[[ $(runtimes) -eq 1 ]] || fail "first start: $(runtimes) runtimes in the cache"
runtime=$(find "$cache" -mindepth 1 -maxdepth 1 -name 'runtime-*')
inode=$(stat -c %i "$runtime/lib/libQt6Core.so.6")

second=$(start "$book")
[[ $second == "loaded ebook://book/index.html" ]] || fail "second start: $second"
[[ $(stat -c %i "$runtime/lib/libQt6Core.so.6") == "$inode" ]] || fail "the second start unpacked again"

# A runtime cut short (a file missing, one truncated) is unpacked again.
rm "$runtime/lib/libQt6Widgets.so.6"
: >"$runtime/lib/libQt6Gui.so.6"
third=$(start "$book")
[[ $third == "loaded ebook://book/index.html" ]] || fail "start over a damaged runtime: $third"
[[ -s $runtime/lib/libQt6Gui.so.6 && -e $runtime/lib/libQt6Widgets.so.6 ]] ||
  fail "the damaged runtime was not redone"

# Two books at once, with an empty cache: one runtime, nothing left half-written.
rm -rf "$cache"
cp "$book" "$work/other.ebook"
start "$book" >"$work/one" &
start "$work/other.ebook" >"$work/two" &
wait
for result in one two; do
  [[ $(cat "$work/$result") == "loaded ebook://book/index.html" ]] ||
    fail "started at once ($result): $(cat "$work/$result")"
done
[[ $(runtimes) -eq 1 ]] || fail "two books at once made $(runtimes) runtimes"
leftovers=$(find "$cache" -mindepth 1 -maxdepth 1 -name '.runtime-*' | wc -l)
[[ $leftovers -eq 0 ]] || fail "two books at once left $leftovers temporary folders"

# What the viewer starts runs on the system, not on the runtime.
PATH=$work/bin:$PATH LD_LIBRARY_PATH=/reader/own "$work/open.ebook" --screenshot "$work/open.png" \
  >/dev/null 2>&1 </dev/null || true
if [[ ! -s $work/opener.env ]]; then
  fail "the book's OPEN# command started no opener"
else
  grep -qx 'LD_LIBRARY_PATH=/reader/own' "$work/opener.env" ||
    fail "the opener got LD_LIBRARY_PATH=$(grep '^LD_LIBRARY_PATH=' "$work/opener.env")"
  inherited='^(QT_PLUGIN_PATH|QTWEBENGINE(PROCESS|_RESOURCES|_LOCALES)_PATH|EBOOK_[A-Z_]*)='
  if grep -qE "$inherited" "$work/opener.env"; then
    fail "the opener inherited: $(grep -E "$inherited" "$work/opener.env" | tr '\n' ' ')"
  fi
fi

for folder in /usr/share/qt6 /usr/lib/qt6 "$libs" "$work/real"; do umount "$folder" 2>/dev/null || true; done
rm -rf "$work"
exit $status
