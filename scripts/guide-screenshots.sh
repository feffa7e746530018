#!/usr/bin/env bash
# Takes the pictures of the user guide (docs/guide/images/*.png) from the real program: the
# window and its companions run headless over a copy of the build's program folder and the
# sample estimate, each taking its picture with the script verb "screenshot".
#   scripts/guide-screenshots.sh [BUILD_DIR]
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$src/build}/program
out=$src/docs/guide/images
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out" "$tmp/program" "$tmp/scripts"
mkdir -m 700 "$tmp/rt"
find "$program" -maxdepth 1 \( -type l -o -type f -perm -u+x \) -exec cp -P {} "$tmp/program/" \;
cp -r "$src/data/." "$tmp/program/"
P=$tmp/program
export ZANTRO_RUNTIME_DIR=$tmp/rt XDG_CONFIG_HOME=$tmp/config QT_QPA_PLATFORM=offscreen ZANTRO_TODAY=2026-12-07
# headless NAME: when the window starts the companion NAME, it runs headless with the script
# $tmp/scripts/NAME (written below) and marks its end in $tmp/NAME.done.
headless() {
  mv "$P/$1" "$P/$1.real"
  printf '#!/bin/sh\n"%s.real" --headless --script "%s" --program-folder "$PWD" "$@" > "%s.out" 2>&1\ntouch "%s.done"\n' \
    "$P/$1" "$tmp/scripts/$1" "$tmp/$1" "$tmp/$1" > "$P/$1"
  chmod +x "$P/$1"
}
window() {
  "$P/zantro" --headless --screen "$1" --program-folder "$P" "$P/Sample/sample.znt2" > "$tmp/window.out" 2>&1
}

headless rowedit_dlg
headless codeprice_dlg
headless setup_dlg
headless prnview
headless takeoff
cat > "$tmp/scripts/rowedit_dlg" <<SCRIPT
set NameEdit 仕切弁
set SpecEdit 10K 20A
set UnitEdit 個
set CostQtyEdit 2
set CostPriceEdit 3500
set SubPriceEdit 4800
screenshot $out/rowedit.png
close
SCRIPT
cat > "$tmp/scripts/codeprice_dlg" <<SCRIPT
set SearchEdit gv
screenshot $out/codeprice.png
close
SCRIPT
cat > "$tmp/scripts/setup_dlg" <<SCRIPT
screenshot $out/setup.png
close
SCRIPT
cat > "$tmp/scripts/prnview" <<SCRIPT
choose FormBox 1
screenshot $out/prnview.png
close
SCRIPT
cat > "$tmp/scripts/takeoff" <<SCRIPT
cell TakeoffTable 0 0 給水
cell TakeoffTable 0 1 1F
cell TakeoffTable 0 2 P-101
cell TakeoffTable 0 3 配管用炭素鋼鋼管
cell TakeoffTable 0 4 白 20A
cell TakeoffTable 0 5 m
cell TakeoffTable 0 6 3.5+2.4*2+1.2
cell TakeoffTable 1 3 配管用炭素鋼鋼管
cell TakeoffTable 1 4 白 25A
cell TakeoffTable 1 6 4*6
cell TakeoffTable 2 1 2F
cell TakeoffTable 2 3 配管用炭素鋼鋼管
cell TakeoffTable 2 4 白 20A
cell TakeoffTable 2 6 1.25*3
cell TakeoffTable 2 7 2
screenshot $out/takeoff.png
close
SCRIPT
window 1024x768 <<SCRIPT || true
tab 1
screenshot $out/main.png
tab 0
screenshot $out/breakdown.png
tab 1
select 7
hint new_data
wait $tmp/rowedit_dlg.done
select 7
click gbtn02
wait $tmp/codeprice_dlg.done
click N44
wait $tmp/setup_dlg.done
tab 0
click N79
wait $tmp/prnview.done
tab 1
click IconButton1
SCRIPT
# Few colours are enough for a user interface: the pictures stay a few tens of KB.
pngquant --force --ext .png --quality 60-90 --strip "$out"/*.png
for f in rowedit_dlg codeprice_dlg setup_dlg prnview takeoff window; do
  if [[ -s $tmp/$f.out ]]; then echo "--- $f"; cat "$tmp/$f.out"; fi
done
ls -l "$out"
