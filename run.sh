#!/usr/bin/env bash
# Installs what is missing, builds and starts the program with the sample document.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
exec build/program/zantro "$@"
