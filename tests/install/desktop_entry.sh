#!/usr/bin/env bash
# The desktop entry is valid and named in both languages; the document types are recognised by
# extension and by the container's first line, and the entry is the program that opens them,
# once installed into a private data home as the package installs them under /usr/share.
#   desktop_entry.sh SOURCE_DIR
set -u
src=$1
for tool in desktop-file-validate update-desktop-database update-mime-database xdg-mime gio; do
  if ! command -v "$tool" > /dev/null; then
    echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
source "$(dirname "${BASH_SOURCE[0]}")/../cli/checks.sh"  # expect
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0

entry=$src/packaging/zantro.desktop
desktop-file-validate "$entry" > validate.txt 2>&1
expect "the entry validates ($(cat validate.txt))" test $? = 0 -a ! -s validate.txt
expect "English name" grep -qx "Name=Zantro" "$entry"
expect "Japanese name" grep -qx "Name\[ja\]=ザントロ" "$entry"
expect "opens a file" grep -qx "Exec=zantro %f" "$entry"
expect "the icon is an SVG drawing" grep -q "<svg " "$src/packaging/zantro.svg"

mkdir -p data/mime/packages data/applications
cp "$src/packaging/zantro-mime.xml" data/mime/packages/zantro.xml
cp "$entry" data/applications/
update-mime-database data/mime > /dev/null 2>&1
update-desktop-database data/applications
printf '<TITLE>\r\n[NUMBER_ID]=SE-\r\n' > x.znt2
cp x.znt2 estimate          # a saved estimate without its extension
printf '\x01\x00\x00\x00' > old.znt
printf '<TITLE>\r\n' > notes.txt
query() { XDG_DATA_HOME=$tmp/data XDG_CURRENT_DESKTOP=GNOME xdg-mime query "$@" 2> /dev/null; }
expect "x.znt2 is our document" test "$(query filetype x.znt2)" = application/x-zantro
expect "so is a container without its extension" test "$(query filetype estimate)" = application/x-zantro
expect "old.znt is a version-1 document" test "$(query filetype old.znt)" = application/x-zantro-v1
expect "a text file stays text" test "$(query filetype notes.txt)" = text/plain
expect "the entry opens our documents" test "$(query default application/x-zantro)" = zantro.desktop
expect "and version-1 documents" test "$(query default application/x-zantro-v1)" = zantro.desktop
echo "passed $passed, failed $failed"
((failed == 0))
