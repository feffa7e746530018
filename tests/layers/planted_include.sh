#!/usr/bin/env bash
# The include checks catch a wrong include: in a copy of src/, the money module of general/
# includes the main window (a layer above it, a library it does not link) and the printing
# module includes the price libraries (a module beside it that it does not link). Both
# checks must fail and name the files; the untouched copy passes both.
#   planted_include.sh MODULES SOURCE_DIR LAYERS_DIR
set -u
modules=$1
source=$2
layers=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source/src" "$work/src"
fail() { echo "FAIL: $*"; exit 1; }

bash "$layers/includes_linked_modules.sh" "$modules" "$work" > "$work/clean.txt" ||
  fail "the untouched copy fails: $(cat "$work/clean.txt")"
bash "$layers/includes_point_down.sh" "$work" > "$work/clean.txt" ||
  fail "the untouched copy fails the direction check: $(cat "$work/clean.txt")"

sed -i '0,/^#include "general\/money.h"/s//#include "general\/money.h"\n#include "uzantro\/fzantro.h"/' "$work/src/general/money.cpp"
grep -q '^#include "uzantro/fzantro.h"' "$work/src/general/money.cpp" || fail "nothing planted in money.cpp"
printf '#include "prices/library.h"\n' >> "$work/src/printing/style.cpp"

bash "$layers/includes_linked_modules.sh" "$modules" "$work" > "$work/linked.txt" && fail "the link check passed a wrong include"
grep -qx 'zantro_general: general/money.cpp: includes "uzantro/fzantro.h", not of its module nor of a library it links' "$work/linked.txt" ||
  fail "money.cpp not named: $(cat "$work/linked.txt")"
grep -qx 'zantro_printing: printing/style.cpp: includes "prices/library.h", not of its module nor of a library it links' "$work/linked.txt" ||
  fail "style.cpp not named: $(cat "$work/linked.txt")"
[[ $(wc -l < "$work/linked.txt") -eq 2 ]] || fail "more than the planted includes: $(cat "$work/linked.txt")"

bash "$layers/includes_point_down.sh" "$work" > "$work/down.txt" && fail "the direction check passed a wrong include"
grep -q 'general/money.cpp: includes "uzantro/fzantro.h"' "$work/down.txt" || fail "direction: $(cat "$work/down.txt")"
echo "both checks name the planted includes"
