#!/usr/bin/env bash
# Every file of a layer includes only its own layer and those below it: a file that includes
# a layer above its own fails this test, naming the file and the include.
#   includes_point_down.sh SOURCE_DIR
set -u
src=$1/src
status=0
# layer folder (files directly in it) -> the folders its files may include
declare -A allowed=(
  [platform]="platform/"
  [platform/gui]="platform/ platform/gui/"
  [platform/qtcore]="platform/ platform/qtcore/"
  [general]="general/ platform/"
  [messages]="messages/ general/ platform/"
  [breakdown]="breakdown/ general/ platform/"
  [companions/core]="companions/core/ messages/ general/ platform/"
  [prices]="prices/ messages/ general/ platform/"
  [takeoff]="takeoff/ general/ platform/"
  [pipeduct]="pipeduct/ prices/ messages/ general/ platform/"
  [compare]="compare/ general/ platform/"
  [summary]="summary/ breakdown/ general/ platform/"
  [printing]="printing/ summary/ compare/ breakdown/ takeoff/ general/ platform/ platform/qtcore/"
  [printing/gui]="printing/gui/ printing/ uzantro/ general/ platform/"
  [strcgrid]="strcgrid/"
  [shell]="shell/ messages/ general/ platform/ platform/gui/ platform/qtcore/"
  [uzantro]="uzantro/ shell/ strcgrid/ messages/ general/ platform/ platform/gui/ platform/qtcore/"
  [breakdown/gui]="breakdown/gui/ breakdown/ uzantro/ messages/ general/ platform/"
  [help]="help/ platform/"
  [help/gui]="help/gui/ help/ uzantro/ platform/"
  [companions]="companions/ companions/core/ uzantro/ prices/ messages/ general/ platform/"
)
for layer in "${!allowed[@]}"; do
  for f in "$src/$layer"/*.h "$src/$layer"/*.cpp; do
    [[ -f $f ]] || continue
    while IFS= read -r inc; do
      dir=${inc%/*}/
      ok=0
      for a in ${allowed[$layer]}; do [[ $dir == "$a" ]] && ok=1; done
      if ((ok == 0)); then
        echo "${f#$src/}: includes \"$inc\" from a layer above $layer"
        status=1
      fi
    done < <(grep -ho '^#include "[^"]*/[^"]*"' "$f" | sed 's/#include "//; s/"$//')
  done
done
exit $status
