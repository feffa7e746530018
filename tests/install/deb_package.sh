#!/usr/bin/env bash
# cpack -G DEB from the build folder: the package holds the installation under /usr (programs,
# links, data, marker, name on PATH, desktop entry, icon, document types) and nothing of the
# build or of a run, and declares what the programs need.
#   deb_package.sh BUILD_DIR
set -u
build=$1
for tool in cpack dpkg-deb; do
  if ! command -v "$tool" > /dev/null; then echo "skipped: $tool is not installed"; exit 77; fi
done
source "$(dirname "${BASH_SOURCE[0]}")/../cli/checks.sh"  # expect
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" > cpack.log 2>&1; then
  cat cpack.log
  echo "FAIL cpack"
  exit 1
fi
deb=$(ls out/*.deb)
expect "one package" test "$(echo "$deb" | wc -l)" = 1
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' > contents.txt
for f in ./usr/bin/zantro ./usr/lib/zantro/zantro ./usr/lib/zantro/zantro-window ./usr/lib/zantro/zantro-send \
         ./usr/lib/zantro/docsave_dlg ./usr/lib/zantro/rowedit_dlg ./usr/lib/zantro/prnview \
         ./usr/lib/zantro/zantro.installed ./usr/lib/zantro/Zantro.conf ./usr/lib/zantro/note.dat \
         ./usr/lib/zantro/Sample/sample.znt2 ./usr/lib/zantro/style/style.conf \
         "./usr/lib/zantro/std_zantro -> zantro" "./usr/lib/zantro/net_zantro -> zantro" \
         ./usr/share/applications/zantro.desktop ./usr/share/icons/hicolor/scalable/apps/zantro.svg \
         ./usr/share/mime/packages/zantro.xml; do
  expect "the package holds $f" grep -qxF -- "$f" contents.txt
done
expect "no work files, locks or position files" test -z "$(grep -E '\.(WRK|UND|PUP|bak|ini)$|ZANTRO\.lock|\.keep' contents.txt)"
expect "nothing outside /usr" test -z "$(grep -v '^\./usr/\|^\./$' contents.txt)"
expect "package name" test "$(dpkg-deb -f "$deb" Package)" = zantro
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6core6 qt6-qpa-plugins libc6; do
  expect "depends on $d ($depends)" grep -q "$d" <<< "$depends"
done
echo "passed $passed, failed $failed"
((failed == 0))
