#!/usr/bin/env bash
# The Windows zip of this cross build, made by CPack from the programs the
# build already holds: its files, its texts for Windows (a byte-order mark, CR
# LF line ends), and scenarioc.exe run under Wine from the unpacked folder,
# which lies in a folder with a blank in its name: --version, emit and
# compile. Skips (77) without Wine or unzip.
#
#   windows_zip_test.sh CPACK BUILD_DIR VERSION
set -uo pipefail
cpack=$1
build=$(realpath "$2")
version=$3
here=$(cd "$(dirname "$0")" && pwd)

for command in wine wineserver unzip; do
  if ! command -v "$command" >/dev/null; then
    echo "SKIP: $command is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
source "$here/../wine_env.sh"
wine_start
trap 'wine_finish; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

(cd "$build" && "$cpack" -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack could not make the zip"; }
name=scenarioc-$version-windows-x64
zip="$work/out/$name.zip"
[[ -f $zip ]] || fail "no $name.zip; made: $(ls "$work/out")"

listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(sort <<EOF
$name/README.txt
$name/scenarioc.exe
$name/velmora_dorsel.exe
$name/docs/CHANGELOG.txt
$name/docs/COPYRIGHT.txt
$name/docs/README.txt
$name/docs/compiled-files.txt
$name/docs/editors.txt
$name/docs/scenarioc-manual.txt
$name/docs/source-format.txt
$name/docs/timetable.txt
EOF
)
[[ "$listing" == "$expected" ]] || fail "the zip's files:
$listing
expected:
$expected"

unpacked="$work/a folder with blanks"
mkdir "$unpacked"
unzip -q "$zip" -d "$unpacked" || fail "unzip"
folder="$unpacked/$name"
for text in "$folder/README.txt" "$folder"/docs/*.txt; do
  [[ $(head -c 3 "$text" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$text has no byte-order mark"
  if grep -qv $'\r$' "$text"; then fail "$text has a line that does not end with CR LF"; fi
done
grep -q "scenarioc $version for Windows" "$folder/README.txt" || fail "README.txt does not name version $version"

# The programs from the unpacked folder, as a Windows user runs them.
cd "$folder" || exit 1
out=$(wine scenarioc.exe --version 2>/dev/null | tr -d '\r')
[[ $out == "scenarioc $version" ]] || fail "scenarioc.exe --version: $out"
mkdir "my scenario"
cd "my scenario" || exit 1
wine ../scenarioc.exe emit >/dev/null 2>&1 || fail "scenarioc.exe emit"
wine ../scenarioc.exe compile Velmora_Dorsel_linea.txt Velmora_Dorsel_904-.txt >/dev/null 2>&1 ||
  fail "scenarioc.exe compile of what emit wrote"
for file in Velmora_Dorsel_linea.dat Velmora_Dorsel_904.sim Velmora_Dorsel_904.dat; do
  [[ -s $file ]] || fail "compile wrote no $file"
done
echo "windows_zip: $name.zip unpacks into a folder whose scenarioc.exe emits and compiles"
