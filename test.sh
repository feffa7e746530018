#!/usr/bin/env bash
# Installs what is missing, builds (-j2) and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
