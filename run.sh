#!/usr/bin/env bash
# Installs what is missing, builds the program folder and starts the program with the sample
# document.
# Without a display the headless front runs a short script that prints the sample's first sheet.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target program_folder
if [[ $# -eq 0 ]]; then set -- build/program/Sample/sample.znt2; fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "zantro: no display (DISPLAY and WAYLAND_DISPLAY are not set); running the headless front" \
       "with scripts/demo.script instead." >&2
  exec build/program/zantro --headless --script scripts/demo.script "$@"
fi
exec build/program/zantro "$@"
