#!/bin/sh
# The program's name on PATH. The program itself lives in its program folder, beside its
# companions and data, which it finds from where it is started.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
exec "$prefix/lib/zantro/zantro" "$@"
