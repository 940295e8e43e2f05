#!/usr/bin/env bash
# Usage: check-books-start.sh BUILD_DIR
# Books started as readers start them, offscreen: a plain book through its launcher, the same
# book without its execute bit through the installed (bare) viewer, and --help/--version.
set -euo pipefail
build=$1
work=$(mktemp -d)
# A viewer started again by a hand-over is no child of this script: it may still be closing
# when the script ends, so the folder goes once no process of ours names it.
cleanup() {
  for _ in $(seq 100); do pgrep -f -- "$work/" >/dev/null || break; sleep 0.1; done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p "$work/run" "$work/config" "$work/source/sub"
chmod 700 "$work/run"
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
printf '<title>start</title>start page' >"$work/source/index.html"
printf '<title>two</title>second page' >"$work/source/sub/two.html"
printf '<title>help</title>a page named --help' >"$work/source/--help"
printf '[cSettings]\r\nDATA=0000000000000000000000000000000000\r\nhome=index.html\r\n[cInfo]\r\ntitle=Start Test\r\n' >"$work/book.ini"
"$build/bin/ebook-pack" build "$work/source" -o "$work/book.ebook" --settings "$work/book.ini" >/dev/null

status=0
# wait_for WHAT COMMAND...: until COMMAND succeeds; past 60 s the test fails naming WHAT.
wait_for() {
  local what=$1 deadline=$((SECONDS + 60))
  shift
  until "$@"; do
    if ((SECONDS >= deadline)); then
      echo "timed out after 60 s waiting for $what"
      exit 1
    fi
    sleep 0.1
  done
}
expect() {  # expect WHAT PATTERN OUTPUT
  if ! grep -qE "$2" <<<"$3"; then
    printf '%s: expected /%s/ in:\n%s\n' "$1" "$2" "$3"
    status=1
  fi
}

out=$("$work/book.ebook" --quit-after-load 2>&1 || true)
expect "the book started directly" '^loaded .*/index\.html$' "$out"
out=$("$work/book.ebook" sub/two.html --quit-after-load 2>&1 || true)
expect "the book with a page" '^loaded .*/sub/two\.html$' "$out"
# The book has an entry "--help": the argument is that page.
out=$("$work/book.ebook" --help --quit-after-load 2>&1 || true)
expect "the book's own --help page" '^loaded .*/--help$' "$out"
out=$("$work/book.ebook" --version 2>&1 || true)
expect "the book's --version" '^ebook \(QUIREL eBook\) [0-9.]+$' "$out"

chmod a-x "$work/book.ebook"
# The shared MIME database knows a book by its content, whatever its name, and by .ebook.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  mkdir -p "$work/data/mime/packages"
  cp "$(dirname "$0")/../../packaging/quirel-ebook.xml" "$work/data/mime/packages/"
  update-mime-database "$work/data/mime" >/dev/null 2>&1
  cp "$work/book.ebook" "$work/book-without-extension"
  type_of() { XDG_DATA_HOME=$work/data gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
  for file in book.ebook book-without-extension; do
    expect "the MIME type of $file" '^application/x-quirel-ebook$' "$(type_of "$work/$file")"
  done
  if [[ $(type_of "$build/bin/ebook-pack") == application/x-quirel-ebook ]]; then
    echo "another program is taken for a book"
    status=1
  fi
fi
out=$("$build/bin/ebook" "$work/book.ebook" --quit-after-load 2>&1 || true)
expect "the installed viewer on a book file" '^loaded .*/index\.html$' "$out"
out=$("$build/bin/ebook" "$work/book.ebook" sub/two.html --quit-after-load 2>&1 || true)
expect "the installed viewer with a page" '^loaded .*/sub/two\.html$' "$out"
out=$("$build/bin/ebook" --help 2>&1 || true)
expect "the viewer's --help" 'ebook BOOKFILE \[PAGE\]' "$out"
out=$("$build/bin/ebook" --version 2>&1 || true)
expect "the viewer's --version" '^ebook \(QUIREL eBook\) [0-9.]+$' "$out"
out=$("$build/bin/ebook-pack" --version 2>&1 || true)
expect "ebook-pack --version" '^ebook-pack \(QUIREL eBook\) [0-9.]+$' "$out"
# The book just opened is listed by the welcome window.
expect "the recent books" "$work/book.ebook" "$(cat "$work/config/QUIREL eBook/recent-books.ini" 2>&1)"
out=$("$build/bin/ebook" "$work/book.ini" --screenshot "$work/welcome.png" 2>&1 || true)
expect "a file that is no book" 'is not a book file' "$out"
[[ -s $work/welcome.png ]] || { echo "the welcome window was not drawn"; status=1; }

# A termination request sent to the book's process (the launcher) reaches the viewer, which
# closes the normal way: the bookmark saved, the temporary folder of temp-folder mode deleted.
mkdir -p "$work/tmp"
printf '[cSettings]\r\nDATA=00000000000000000100000000000000000\r\nhome=index.html\r\n[cInfo]\r\ntitle=Term\r\n[cEve]\r\nbookmark=1\r\n' \
  >"$work/term.ini"
"$build/bin/ebook-pack" build "$work/source" -o "$work/term.ebook" --settings "$work/term.ini" >/dev/null
TMPDIR=$work/tmp "$work/term.ebook" >/dev/null 2>&1 &
book=$!
wait_for "the book to extract its pages" compgen -G "$work/tmp/TMP*/INDEX.HTML"
# A request during the extraction or the first page's load ends the viewer before it has shown
# a page, with nothing to bookmark; the page has long been shown after this.
sleep 3
kill -TERM "$book"
wait "$book" && code=0 || code=$?
[[ $code -eq 0 ]] || { echo "the book ended with $code after SIGTERM"; status=1; }
if compgen -G "$work/tmp/TMP*" >/dev/null; then echo "the temporary folder is left"; status=1; fi
grep -A3 -F '[Term]' "$work/config/QUIREL eBook.conf" | grep -q '^bookmark=' ||
  { echo "no bookmark saved after SIGTERM"; status=1; }

# The self-replacement hand-over through the installed viewer: temp0a0.exe beside the book file
# (neither executable) replaces it and the viewer is started again on the book with "deltemp";
# the new book's start page closes the viewer again.
mkdir -p "$work/new" "$work/shelf"
printf '<title>new</title><script>location.href = "#DO#EXIT#"</script>' >"$work/new/index.html"
printf '[cSettings]\r\nDATA=0000000000000000000000000000000000\r\nhome=index.html\r\n[cEve]\r\nbookmark=1\r\n' \
  >"$work/new.ini"
"$build/bin/ebook-pack" build "$work/new" -o "$work/shelf/temp0a0.exe" --settings "$work/new.ini" >/dev/null
cp "$work/book.ebook" "$work/shelf/book.ebook"
chmod a-x "$work/shelf/temp0a0.exe" "$work/shelf/book.ebook"
cp "$work/shelf/temp0a0.exe" "$work/new.ebook"
rm -f "$work/config/QUIREL eBook/recent-books.ini"
"$build/bin/ebook" "$work/shelf/temp0a0.exe" book.ebook >"$work/handover.log" 2>&1 || true
# The viewer started again records the book it shows, and its bookmark when it has closed.
wait_for "the viewer started again to list the book" \
  grep -qs "$work/shelf/book.ebook" "$work/config/QUIREL eBook/recent-books.ini"
wait_for "the viewer started again to save its bookmark" \
  grep -qs "bookmark=" "$work/config/QUIREL eBook.conf"
wait_for "temp0a0.exe to be removed" test ! -e "$work/shelf/temp0a0.exe"
cmp -s "$work/shelf/book.ebook" "$work/new.ebook" || { echo "the book file was not replaced"; status=1; }
exit $status
