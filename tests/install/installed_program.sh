#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the installation read-only and runs the
# installed program on the sample as a user with a fresh data home: the work files, the
# settings and the position file land in the user's own program folder, a companion the window
# starts runs from the installed folder in the user's folder, and nothing under the prefix
# changes. A second user gets a folder of their own.
#   installed_program.sh BUILD_DIR
set -u
build=$1
source "$(dirname "${BASH_SOURCE[0]}")/../cli/checks.sh"  # expect
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; [[ -n ${KEEP:-} ]] || rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0

P=$tmp/usr
if ! cmake --install "$build" --prefix "$P" > install.log 2>&1; then
  cat install.log
  echo "FAIL the installation"
  exit 1
fi
lib=$P/lib/zantro
for f in bin/zantro lib/zantro/zantro lib/zantro/zantro-window lib/zantro/docsave_dlg lib/zantro/rowedit_dlg \
         lib/zantro/prnview lib/zantro/zantro-send lib/zantro/zantro.installed lib/zantro/Zantro.conf \
         lib/zantro/note.dat lib/zantro/Sample/sample.znt2 lib/zantro/style/style.conf \
         share/applications/zantro.desktop share/icons/hicolor/scalable/apps/zantro.svg share/mime/packages/zantro.xml; do
  expect "installed $f" test -e "$P/$f"
done
expect "bin/zantro runs" test -x "$P/bin/zantro"
expect "std_zantro is the link it was" test "$(readlink "$lib/std_zantro")" = zantro
expect "no placeholder installed" test ! -e "$lib/.keep"
expect "no work files installed" test -z "$(find "$P" -name '*.WRK' -o -name '*.UND' -o -name 'ZANTRO.lock' -o -name '*.ini')"

# The installation as every user meets it: nobody writes there.
chmod -R a-w "$P"
snapshot() { (cd "$P" && find . -printf '%p %y %s %m %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot > before.txt
touch stamp
sleep 0.01

mkdir -m 700 rt rt2
export ZANTRO_RUNTIME_DIR=$tmp/rt XDG_DATA_HOME=$tmp/data HOME=$tmp/home
unset ZANTRO_PROGRAM_FOLDER
cat > window.script <<'SCRIPT'
tabs
get DocName
click KS1
sleep 4000
SCRIPT
timeout 60 "$P/bin/zantro" --headless --script window.script "$lib/Sample/sample.znt2" > out.txt 2> err.txt &
window=$!
# The save dialog the window starts: its program is the installed one; it works in the user's
# folder (its working folder and the folder it was told).
user=$tmp/data/zantro
# It is found by the socket it registers in the runtime folder, named after its process.
companion=
for _ in $(seq 250); do
  sock=$(compgen -G "rt/Tfdocsave_Dlg.*.sock") && break
  sleep 0.02
done
if [[ -n ${sock:-} ]]; then
  companion=/proc/$(basename "$sock" .sock | cut -d. -f2)
  expect "the save dialog started from the installation" test "$(readlink "$companion/exe")" = "$lib/docsave_dlg"
fi
expect "the save dialog runs" test -n "$companion"
if [[ -n $companion ]]; then
  expect "the save dialog works in the user's folder" test "$(readlink "$companion/cwd")" = "$user"
  expect "the save dialog was told the user's folder" \
    grep -qzx "ZANTRO_PROGRAM_FOLDER=$user" "$companion/environ"
fi
wait $window
status=$?
expect "the window ends well (status $status)" test $status = 0
sed "s|$tmp|TMP|g" out.txt > got.txt
cat > want.txt <<'OUT'
tabs	1	内訳表	空調配管工事	ダクト工事	機器設備工事
get DocName=TMP/usr/lib/zantro/Sample/sample.znt2
launch: TMP/usr/lib/zantro/docsave_dlg TMP/usr/lib/zantro/Sample/sample.znt2;0;
OUT
expect "the window's lines" diff want.txt got.txt

# The user's folder: the data of the installation, then the document's work files, the lock
# and the window's position.
for f in Zantro.conf Number.conf note.dat KEITO.DAT Sample/sample.znt2 style/style.conf; do
  expect "$f copied" cmp -s "$lib/$f" "$user/$f"
done
for f in HEAD.WRK HEAD.UND WITEM2.WRK WITEM2.UND WITEM4.WRK ZANTRO.lock zantro.ini; do
  expect "$f in the user's folder" test -s "$user/$f" -o "$f" = ZANTRO.lock -a -e "$user/$f"
done
expect "no program copied" test -z "$(find "$user" -mindepth 1 -name 'zantro*' ! -name zantro.ini -o -name '*_dlg' -o -type l)"
expect "the position file is the window's" grep -q '^\[FZANTRO\]' "$user/zantro.ini"
snapshot > after.txt
expect "nothing under the prefix changed" diff before.txt after.txt
expect "nothing under the prefix is newer" test -z "$(find "$P" -newer stamp)"

# The batch command of the name on PATH runs from the installation as well.
"$P/bin/zantro" --recalc "$lib/Sample/sample.znt2" recalc.znt2 2> recalc.err
expect "--recalc from the installation" test $? = 0 -a -s recalc.znt2

# So does the printed estimate, with the style of the user's own folder.
"$P/bin/zantro" --pdf "$lib/Sample/sample.znt2" sample.pdf 2> pdf.err
expect "--pdf from the installation ($(cat pdf.err))" test $? = 0 -a -s sample.pdf
snapshot > after.txt
expect "nothing under the prefix changed by the batch commands" diff before.txt after.txt

# Another user on the same machine: a folder of their own; the first user's files stay.
md5sum "$user"/*.WRK > first.md5
: > empty.script
ZANTRO_RUNTIME_DIR=$tmp/rt2 XDG_DATA_HOME= HOME=$tmp/home2 timeout 60 "$P/bin/zantro" --headless \
  --script empty.script "$lib/Sample/sample.znt2" > out2.txt 2> err2.txt
expect "the second user's window ends well" test $? = 0
expect "the second user's work files" test -s "$tmp/home2/.local/share/zantro/HEAD.WRK"
expect "the first user's work files untouched" md5sum -c --quiet first.md5

echo "passed $passed, failed $failed"
if ((failed)); then
  echo "--- stderr"; cat err.txt
  exit 1
fi
