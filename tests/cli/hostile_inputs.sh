#!/usr/bin/env bash
# The program as a hostile user meets it: special files, huge inputs, file-size limits, file
# modes and broken scripts, through the real executable.
#   hostile_inputs.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 source=$2
zantro=$program/zantro
sample=$source/data/Sample/sample.znt2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# Readers take regular files of a bounded size only, and say so before reading anything.
mkfifo fifo
mkdir folder
truncate -s 129M huge.znt2
check "recalc of a device" 1 "is not a regular file" "$zantro" --recalc /dev/zero out.znt2
check "recalc of a pipe" 1 "is not a regular file" "$zantro" --recalc fifo out.znt2
check "recalc of a folder" 1 "is a folder, not a file" "$zantro" --recalc folder out.znt2
check "recalc of a huge file" 1 "larger than 128 MB" "$zantro" --recalc huge.znt2 out.znt2
expect "no output after refusals" test ! -e out.znt2

# An amount that does not fit is named by file, item, line and fields.
iconv -f UTF-8 -t CP932 < "$source/tests/scripts/overflow.znt2.txt" | sed 's/$/\r/' > overflow.znt2
check "recalc of an overflowing document" 1 "overflow.znt2: item 2, line 1 (SubPrice x SubQty): " \
  "$zantro" --recalc overflow.znt2 out.znt2

# A write over the file-size limit is an error with a message; nothing is replaced.
printf 'old' > limited.znt2
check "recalc under a file-size limit" 1 "File too large" bash -c "ulimit -f 1; exec '$zantro' --recalc '$sample' limited.znt2"
expect "the limited output is unchanged" test "$(cat limited.znt2)" = old
expect "no temporary file is left" test -z "$(ls -A | grep '\.tmp$')"

# Replacing an output keeps its mode and group.
printf 'old' > kept.znt2
chmod 0600 kept.znt2
group=$(id -G | tr ' ' '\n' | tail -1)
chgrp "$group" kept.znt2 2>/dev/null || true
want_group=$(stat -c %g kept.znt2)
check "recalc over an existing output" 0 "" "$zantro" --recalc "$sample" kept.znt2
expect "mode kept" test "$(stat -c %a kept.znt2)" = 600
expect "group kept" test "$(stat -c %g kept.znt2)" = "$want_group"

# Ended by a signal, a batch run leaves neither its work folder nor a temporary file. The
# printed estimate keeps the work files of a large document in a folder of its own while it
# lays the pages out; the signal is sent once that folder exists.
awk 'BEGIN {
  printf "<TITLE>\r\n[KETA]=1\r\n</TITLE>\r\n<ITEM>\r\n"
  for (i = 1; i <= 200; i++) printf "10;item%d;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n", i
  printf "</ITEM>\r\n<DATA>\r\n"
  for (i = 1; i <= 200; i++) for (j = 1; j <= 500; j++)
    printf "%d;pipe;20A;0.1;10001;m;10;%d;%d;100;120;0;0;0;0;0;0;0;0;;;\r\n", i, j, j
  printf "</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n"
}' > large.znt2
set -m  # a background run of a script without job control would ignore SIGINT
for sig in TERM INT HUP; do
  mkdir -p "scratch-$sig"
  TMPDIR=$tmp/scratch-$sig "$zantro" --pdf large.znt2 "signalled-$sig.pdf" --program-folder "$program" 2> err.txt &
  pid=$!
  # Wait for the folder itself, however long a loaded machine takes to start the run.
  until [[ -n $(ls -A "scratch-$sig" | grep zantro-) ]] || ! kill -0 "$pid" 2> /dev/null; do sleep 0.01; done
  expect "SIG$sig: the run is still going when its folder appears" kill -0 "$pid"
  kill -s "$sig" "$pid"
  wait "$pid"
  status=$?
  expect "SIG$sig ends the run ($status)" test "$status" -gt 128
  expect "SIG$sig leaves no work folder" test -z "$(ls -A "scratch-$sig" | grep zantro-)"
  expect "SIG$sig leaves no temporary file" test -z "$(ls -A | grep '\.tmp$')"
done 2> /dev/null
set +m

# Scripts: a folder, a device, an over-long line and keys that are no keys are script errors.
cp -r "$program" prog
mkdir -m 700 rt
headless=(env ZANTRO_RUNTIME_DIR="$tmp/rt" QT_QPA_PLATFORM=offscreen "$zantro" --headless --program-folder "$tmp/prog")
check "script that is a folder" 2 "cannot read the script" "${headless[@]}" --script folder
check "script that is a device" 2 "cannot read the script" "${headless[@]}" --script /dev/zero
for key in Foo Ctrl+ あ F36; do
  printf 'key %s\n' "$key" > key.script
  check "key $key" 2 "script:1: not a key sequence: $key" "${headless[@]}" --script key.script
done
{ echo 'get DocName'; head -c 70000 /dev/zero | tr '\0' x; } > long.script
check "over-long script line" 2 "script:2: the line is longer than 65536 bytes" "${headless[@]}" --script long.script
# An error quotes at most 80 characters of the offending text.
{ printf 'tab '; head -c 500 /dev/zero | tr '\0' 9; echo; } > quote.script
check "quoted text is cut" 2 "tab is not a number: $(printf '9%.0s' {1..80})…" "${headless[@]}" --script quote.script
expect "the quote ends there" test "$(grep -o '9*…' err.txt | tr -d '…\n' | wc -c)" = 80

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
