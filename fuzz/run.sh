#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one: fuzz/run.sh TARGET SECONDS
# (TARGET is a name such as container, or "all" for every target one after the other).
# Memory limit 512 MB, one second per input; findings land in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz/run.sh TARGET SECONDS}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DZANTRO_FUZZ=ON -DZANTRO_GUI=OFF -DZANTRO_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ "$target" = all ]; then
  targets=$(ls fuzz/*_fuzz.cpp | xargs -n1 basename | sed 's/_fuzz.cpp//')
else
  targets=$target
fi
for t in $targets; do cmake --build build-fuzz -j2 --target "fuzz_$t" >/dev/null; done
mkdir -p build-fuzz/findings
# AddressSanitizer keeps up to 256 MB of freed memory in quarantine by default, which alone
# would take half of the memory limit in a long run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32:malloc_context_size=10}
status=0
for t in $targets; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=fuzz/corpus/$t
  echo "fuzz $t for ${seconds}s"
  if ! build-fuzz/fuzz/fuzz_$t "$corpus" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds")} \
      -max_total_time="$seconds" -rss_limit_mb=512 -timeout=1 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/findings/$t- 2>build-fuzz/fuzz-$t.log; then
    status=1
    tail -40 build-fuzz/fuzz-$t.log
  fi
  grep -E '^stat::number_of_executed_units|^Done' build-fuzz/fuzz-$t.log || true
done
exit $status
