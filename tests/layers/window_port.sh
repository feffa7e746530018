#!/usr/bin/env bash
# The window's plug-ins (the sheet commands, the breakdown list, the companions' handlers, the
# help) reach no widget of the window by name and no grid or label: they go through the port.
# The window's public face stays narrow: fewer than 60 public member functions.
#   window_port.sh SOURCE_DIR
set -u
src=$1/src
status=0
plugins=("$src"/uzantro/sheetcommands.cpp "$src"/uzantro/sheetfiles.cpp "$src"/uzantro/convertcommands.cpp
         "$src"/breakdown/gui/*.cpp "$src"/companions/*.cpp "$src"/help/gui/*.cpp)
for f in "${plugins[@]}"; do
  [[ -f $f ]] || { echo "missing: ${f#$src/}"; status=1; continue; }
  if grep -nE '(\.|->)(Component|Grid|Label|Button)\(' "$f"; then
    echo "${f#$src/}: reaches a widget of the window past its port"
    status=1
  fi
done
# The public member functions of TFZANTRO: the declarations between "public:" and "signals:",
# inline bodies and comments left out, data members (std::function hooks) not counted.
count=$(sed -n '/^class TFZANTRO/,/^ signals:/p' "$src/uzantro/fzantro.h" | sed -n '/^ public:/,$p' | sed '1d' |
  sed 's|//.*||' | tr '\n' ' ' | sed 's/{[^{}]*}/;/g' | tr ';' '\n' |
  grep -E '\(' | grep -vE '^\s*(std::function|using)' | grep -vcE '^\s*(explicit )?~?TFZANTRO\(')
if ((count >= 60)); then
  echo "TFZANTRO has $count public member functions"
  status=1
fi
[[ $status == 0 ]] && echo "ok: plug-ins use the port; TFZANTRO has $count public member functions"
exit $status
