#!/usr/bin/env bash
# The sources of every library include only the headers of their own module and of the
# libraries they link. MODULES is the list the build writes (TARGET|OWN FOLDERS|ALLOWED
# FOLDERS, folders relative to src/); a file that includes any other module fails this test,
# naming the library, the file and the include.
#   includes_linked_modules.sh MODULES SOURCE_DIR
set -u
modules=$1
src=$2/src
[[ -s $modules ]] || { echo "$modules: no module list"; exit 2; }
status=0
checked=0
while IFS='|' read -r target own allowed; do
  [[ -n $target ]] || continue
  for folder in $own; do
    for f in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
      [[ -f $f ]] || continue
      checked=$((checked + 1))
      while IFS= read -r inc; do
        dir=${inc%/*}
        ok=0
        for a in $allowed; do [[ $dir == "$a" ]] && ok=1; done
        # A module's header must also exist: a misspelt path is no way round the rule.
        if ((ok == 1)) && [[ ! -f $src/$inc ]]; then ok=0; fi
        if ((ok == 0)); then
          echo "$target: ${f#$src/}: includes \"$inc\", not of its module nor of a library it links"
          status=1
        fi
      done < <(grep -ho '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/[^"]*"' "$f" | sed 's/^[^"]*"//; s/"$//')
    done
  done
done < "$modules"
((checked > 0)) || { echo "no source file checked"; exit 2; }
exit $status
