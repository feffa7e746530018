#!/usr/bin/env bash
# Where the batch commands write: never over their input, never through another user's link,
# never over a read-only file or a device, "-" for standard output, write errors reported,
# messages that start with "zantro:", and no leftovers of killed runs. Through the real
# executable; the cases that need a second user or device nodes run when the test runs as root.
#   outputs.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 source=$2
zantro=$program/zantro
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
export TMPDIR=$tmp/scratch
mkdir -m 700 scratch
cp "$source/data/Sample/sample.znt2" doc.znt2
cp doc.znt2 original.znt2
passed=0 failed=0
root=$([[ $(id -u) == 0 ]] && echo yes)

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
printf '#!/bin/sh\nexec "%s" --pdf "$1" "$2" --program-folder "%s"\n' "$zantro" "$program" > pdf
chmod +x pdf
pdf=$tmp/pdf

# An output that is the input is refused by every command, also through a link or a hard link.
ln -s doc.znt2 link.znt2
ln doc.znt2 hard.znt2
for out in doc.znt2 link.znt2 hard.znt2 ./doc.znt2; do
  check "xlsx over its input ($out)" 1 "zantro: $out: 入力の文書と同じファイルです" "$zantro" --xlsx doc.znt2 "$out"
  check "pdf over its input ($out)" 1 "zantro: $out: 入力の文書と同じファイルです" "$pdf" doc.znt2 "$out"
  check "workbook over its input ($out)" 1 "zantro: $out: 入力の文書と同じファイルです" \
    "$zantro" --workbook doc.znt2 "$out" --program-folder "$program"
  check "recalc over its input ($out)" 1 "zantro: $out: 入力の文書と同じファイルです" "$zantro" --recalc doc.znt2 "$out"
done
expect "the input is unchanged" cmp -s doc.znt2 original.znt2
expect "the link is still a link" test -L link.znt2
cp original.znt2 doc.znt2

# A file marked read-only is not replaced, whoever runs.
printf 'kept' > readonly.znt2
chmod 0444 readonly.znt2
check "recalc over a read-only file" 1 "readonly.znt2: 書き込みが禁止されたファイルです" "$zantro" --recalc doc.znt2 readonly.znt2
check "xlsx over a read-only file" 1 "書き込みが禁止されたファイルです" "$zantro" --xlsx doc.znt2 readonly.znt2
expect "the read-only file is unchanged" test "$(cat readonly.znt2)" = kept

# The user's own link is written through: its file is replaced in its own folder, the link stays.
mkdir -p keep
printf 'old' > keep/target.xlsx
chmod 0600 keep/target.xlsx
ln -s keep/target.xlsx mine.xlsx
check "xlsx through the user's link" 0 "" "$zantro" --xlsx doc.znt2 mine.xlsx
expect "the link stays a link" test -L mine.xlsx
expect "its file holds the workbook" test "$(head -c 2 keep/target.xlsx)" = PK
expect "the workbook keeps the mode 0600" test "$(stat -c %a keep/target.xlsx)" = 600
expect "no temporary file beside it" test -z "$(ls -A keep | grep -v '^target.xlsx$')"

# Another user's link in a shared folder is not followed (root's private file stays).
if [[ $root ]]; then
  mkdir -m 1777 shared
  printf 'secret' > private
  chmod 0600 private
  for out in a.xlsx b.znt2 c.pdf; do
    ln -s ../private "shared/$out"
    chown -h nobody "shared/$out"
  done
  check "xlsx through a planted link" 1 "shared/a.xlsx: 他のユーザーのリンクには書き込みません" "$zantro" --xlsx doc.znt2 shared/a.xlsx
  check "recalc through a planted link" 1 "shared/b.znt2: 他のユーザーのリンクには書き込みません" "$zantro" --recalc doc.znt2 shared/b.znt2
  check "pdf through a planted link" 1 "shared/c.pdf: 他のユーザーのリンクには書き込みません" "$pdf" doc.znt2 shared/c.pdf
  expect "the private file is unchanged" test "$(cat private)" = secret
  expect "the private file keeps its mode" test "$(stat -c %a private)" = 600
  expect "the planted links stay" test -L shared/a.xlsx -a -L shared/b.znt2 -a -L shared/c.pdf
  # A link of the folder's owner is followed, as the kernel follows it in a sticky folder.
  mkdir -m 1777 owned
  chown nobody owned
  printf 'old' > owned-target.znt2
  ln -s ../owned-target.znt2 owned/out.znt2
  chown -h nobody owned/out.znt2
  check "recalc through the folder owner's link" 0 "" "$zantro" --recalc doc.znt2 owned/out.znt2
  expect "the owner's link leads to the document" test "$(head -c 7 owned-target.znt2)" = "<TITLE>"
fi

# A pipe or a device is written through, never replaced by a regular file.
mkfifo pipe
timeout 60 cat pipe > from-pipe.pdf &
reader=$!
check "pdf into a pipe" 0 "" "$pdf" doc.znt2 pipe
wait "$reader"
expect "the pipe carried the PDF" test "$(head -c 4 from-pipe.pdf)" = %PDF
expect "the pipe stays a pipe" test -p pipe
check "xlsx into a pipe nobody reads" 1 "pipe: no program reads this pipe" "$zantro" --xlsx doc.znt2 pipe
expect "the pipe is still a pipe" test -p pipe
if [[ $root ]]; then
  mknod null c 1 3
  mknod full c 1 7
  check "xlsx into a null device" 0 "" "$zantro" --xlsx doc.znt2 null
  check "pdf into a null device" 0 "" "$pdf" doc.znt2 null
  check "xlsx into a full device" 1 "zantro: full: No space left on device" "$zantro" --xlsx doc.znt2 full
  check "recalc into a full device" 1 "zantro: full: No space left on device" "$zantro" --recalc doc.znt2 full
  expect "the devices stay devices" test -c null -a -c full
fi
check "xlsx into a folder" 1 "keep: is a folder, not a file" "$zantro" --xlsx doc.znt2 keep

# "-" is standard output; a lost write there is an error.
"$zantro" --xlsx doc.znt2 - > stdout.xlsx 2> err.txt
expect "xlsx to standard output" test "$?" = 0 -a "$(head -c 2 stdout.xlsx)" = PK
"$zantro" --workbook doc.znt2 - --program-folder "$program" > book-stdout.xlsx 2> err.txt
expect "the estimate workbook to standard output" test "$?" = 0 -a "$(head -c 2 book-stdout.xlsx)" = PK
"$pdf" doc.znt2 - > stdout.pdf 2> err.txt
expect "pdf to standard output" test "$?" = 0 -a "$(head -c 4 stdout.pdf)" = %PDF
"$zantro" --recalc doc.znt2 - > stdout.znt2 2> err.txt
expect "recalc to standard output" test "$?" = 0 -a "$(head -c 7 stdout.znt2)" = "<TITLE>"
expect "no file named -" test ! -e ./-
check "report to a full disk" 1 "zantro: standard output: No space left on device" bash -c "exec '$zantro' --report doc.znt2 > /dev/full"
check "report with standard output closed" 1 "zantro: standard output: " bash -c "exec '$zantro' --report doc.znt2 >&-"
check "version to a full disk" 1 "zantro: standard output: No space left on device" bash -c "exec '$zantro' --version > /dev/full"
check "xlsx to a full standard output" 1 "zantro: standard output: No space left on device" bash -c "exec '$zantro' --xlsx doc.znt2 - > /dev/full"

# Every message starts with "zantro:", and the spreadsheet library's own lines never show.
check "pdf of a missing document" 1 "" "$pdf" missing.znt2 out.pdf
expect "the pdf error starts with zantro:" test "$(head -c 7 err.txt)" = "zantro:"
check "xlsx into a missing folder" 1 "zantro: cannot create a temporary file for no/such/out.xlsx" \
  "$zantro" --xlsx doc.znt2 no/such/out.xlsx
expect "no library lines" test -z "$(grep -F '[ERROR]' err.txt)"
expect "one line of error" test "$(wc -l < err.txt)" = 1

# Every batch command of the family, given a bad input, wrong arguments or a disk that takes
# nothing (a file-size limit of one block): it fails, and every line it writes on standard error
# starts with "zantro:" (no "error:", no "[ERROR]" of the spreadsheet library). The bad document
# is a container saved as UTF-8, which the readers refuse by line and field.
printf '<TITLE>\r\n[ATESAKI_1]=試験 宛先\r\n</TITLE>\r\n<ITEM>\r\n</ITEM>\r\n<DATA>\r\n</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n' > utf8.znt2
utf8_refused='utf8.znt2: line 2, title [ATESAKI_1]: byte 6 (0x93) is no Shift-JIS character; the text reads as UTF-8: "試験 宛先"'
mkdir -p viewer/printdata takeoff-folder
head -c 780 /dev/zero > viewer/HEAD.WRK  # a document without a number: its print data is printdata/.dat
sed 's/^\[ATESAKI_1\]=.*/[ATESAKI_1]=/; s/^<DATA>/<DATA>\r\n1;管;;0;10001;m;10;1;1;100;100;0;0;0;0;0;0;0;0;;工事;/' utf8.znt2 > viewer/printdata/.dat
sed -i 's/^<ITEM>/<ITEM>\r\n10;a;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;/' viewer/printdata/.dat
prefixed() {  # prefixed NAME STATUS PATTERN COMMAND...: check, then every line of standard error is the program's
  local name=$1
  check "$@"
  if [[ ! -s err.txt ]] || grep -qv '^zantro: ' err.txt || grep -qF '[ERROR]' err.txt; then
    failed=$((failed + 1))
    echo "FAIL $name: a line without the prefix: $(grep -v '^zantro: ' err.txt | head -c 300)"
  else
    passed=$((passed + 1))
  fi
}
limited=(bash -c 'ulimit -f 1; exec "$@"' limited)
prefixed "recalc of UTF-8" 1 "zantro: $utf8_refused" "$zantro" --recalc utf8.znt2 out.znt2
prefixed "pdf of UTF-8" 1 "zantro: $utf8_refused" "$pdf" utf8.znt2 out.pdf
prefixed "takeoff-pdf of UTF-8" 1 "zantro: $utf8_refused" "$zantro" --takeoff-pdf utf8.znt2 out.pdf --program-folder "$program"
prefixed "takeoff-pdf without takeoff lines" 1 "zantro: " "$zantro" --takeoff-pdf doc.znt2 out.pdf --program-folder "$program"
prefixed "report of UTF-8" 1 "zantro: $utf8_refused" "$zantro" --report utf8.znt2
prefixed "xlsx of UTF-8" 1 "zantro: $utf8_refused" "$zantro" --xlsx utf8.znt2 out.xlsx
prefixed "compare of UTF-8" 2 "zantro: $utf8_refused" "$zantro" --compare utf8.znt2 doc.znt2
prefixed "summary of UTF-8" 2 "zantro: $utf8_refused" "$zantro" --summary utf8.znt2
prefixed "reprice of UTF-8" 1 "zantro: $utf8_refused" "$zantro" --reprice utf8.znt2 "$source/data/data/codedata1.dat" --level 1 out.znt2
prefixed "reprice with a missing library" 1 "zantro: " "$zantro" --reprice doc.znt2 missing.csv --level 1 out.znt2
prefixed "print data in UTF-8" 1 "zantro: $tmp/viewer/printdata/.dat: line 8, data field 21 (Remarks): byte 6 (0x8B)" \
  "$program/prnview" --pdf out.pdf --program-folder viewer
prefixed "viewer without a document" 1 "zantro: " "$program/prnview" --pdf out.pdf --program-folder takeoff-folder
prefixed "takeoff statement without a document" 1 "zantro: " "$program/takeoff" --pdf 1 out.pdf --program-folder takeoff-folder
for args in "--recalc doc.znt2" "--reprice doc.znt2" "--pdf doc.znt2" "--takeoff-pdf doc.znt2" "--report" \
            "--xlsx doc.znt2" "--compare doc.znt2" "--summary"; do
  prefixed "usage of ${args%% *}" 2 "zantro: usage: zantro ${args%% *}" "$zantro" $args
done
prefixed "usage of takeoff --pdf" 2 "zantro: usage: takeoff --pdf" "$program/takeoff" --pdf 0 out.pdf
prefixed "usage of prnview --forms" 2 "zantro: --forms" "$program/prnview" --pdf out.pdf --forms none
prefixed "recalc onto a full disk" 1 "File too large" "${limited[@]}" "$zantro" --recalc doc.znt2 full.znt2
prefixed "xlsx onto a full disk" 1 "File too large" "${limited[@]}" "$zantro" --xlsx doc.znt2 full.xlsx
prefixed "summary workbook onto a full disk" 1 "zantro: full.xlsx: Zip generic error ZIP_ERRNO while creating the xlsx file. (File too large)" "${limited[@]}" "$zantro" --summary doc.znt2 --xlsx full.xlsx
prefixed "compare workbook onto a full disk" 2 "(File too large)" "${limited[@]}" "$zantro" --compare doc.znt2 original.znt2 --xlsx full.xlsx
prefixed "pdf onto a full disk" 1 "File too large" "${limited[@]}" "$pdf" doc.znt2 full.pdf
prefixed "summary pdf onto a full disk" 1 "File too large" "${limited[@]}" "$zantro" --summary doc.znt2 --pdf full.pdf

# What killed runs left is removed by the next run: temporary files of a process that is gone
# (not those of a live one), and scratch folders holding a document copy.
dead=$(($(cat /proc/sys/kernel/pid_max) + 1))
touch ".zt$dead-0123456789ab.tmp" ".zt$$-0123456789ab.tmp"
mkdir -p "scratch/zantro-pdf-$dead-AbCdEf" "scratch/zantro-xlsx-$$-AbCdEf"
cp doc.znt2 "scratch/zantro-pdf-$dead-AbCdEf/copy.znt2"
check "a run after killed ones" 0 "" "$zantro" --recalc doc.znt2 fresh.znt2
check "a workbook after killed ones" 0 "" "$zantro" --xlsx doc.znt2 fresh.xlsx
expect "the dead run's temporary file is gone" test ! -e ".zt$dead-0123456789ab.tmp"
expect "the live run's temporary file stays" test -e ".zt$$-0123456789ab.tmp"
expect "the dead run's scratch folder is gone" test ! -e "scratch/zantro-pdf-$dead-AbCdEf"
expect "the live run's scratch folder stays" test -d "scratch/zantro-xlsx-$$-AbCdEf"
rm -rf ".zt$$-0123456789ab.tmp" "scratch/zantro-xlsx-$$-AbCdEf"

# SIGTERM while the workbook is made leaves no partial workbook and no scratch folder.
awk 'BEGIN {
  printf "<TITLE>\r\n[KETA]=1\r\n</TITLE>\r\n<ITEM>\r\n"
  for (i = 1; i <= 100; i++) printf "10;item%d;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n", i
  printf "</ITEM>\r\n<DATA>\r\n"
  for (i = 1; i <= 100; i++) for (j = 1; j <= 500; j++)
    printf "%d;pipe;20A;0.1;10001;m;10;%d;%d;100;120;0;0;0;0;0;0;0;0;;;\r\n", i, j, j
  printf "</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n"
}' > large.znt2
"$zantro" --xlsx large.znt2 signalled.xlsx 2> err.txt &
pid=$!
for _ in $(seq 1000); do [[ -n $(ls -A scratch | grep zantro-xlsx) ]] && break; sleep 0.01; done
kill -TERM "$pid"
wait "$pid" 2> /dev/null
expect "SIGTERM ends the workbook" test "$?" -gt 128
expect "SIGTERM leaves no scratch folder" test -z "$(ls -A scratch)"
expect "SIGTERM leaves no partial workbook" test -z "$(ls -A | grep -e '\.part' -e '\.tmp$' -e '^signalled')"

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
