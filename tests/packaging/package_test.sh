#!/usr/bin/env bash
# The Debian package of this build, made by CPack and unpacked into a scratch
# root: its name, version and dependencies, its files and their modes, and
# then the installed scenarioc run (--version, emit and compile), its manual
# page formatted and its completion sourced and called. Skips (77) without
# dpkg-deb.
#
#   package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1
build=$(realpath "$2")
version=$3

if ! command -v dpkg-deb >/dev/null; then
  echo "dpkg-deb is missing: test skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack could not make the package"; }
architecture=$(dpkg --print-architecture)
deb="$work/out/scenarioc_${version}-1_${architecture}.deb"
[[ -f $deb ]] || fail "no $(basename "$deb"); made: $(ls "$work/out")"

# The control fields. The C++ run-time library is linked in: the C library is
# the one dependency.
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == scenarioc ]] || fail "Package: $(field Package)"
[[ $(field Version) == "${version}-1" ]] || fail "Version: $(field Version)"
[[ $(field Depends) =~ ^libc6\ \(\>=\ [0-9.]+\)$ ]] || fail "Depends: $(field Depends)"

# Every file, with its mode; nothing else (velmora_dorsel writes into its own
# folder and is not installed).
listing=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort -k3)
expected=$(sort -k3 <<EOF
-rwxr-xr-x root/root ./usr/bin/scenarioc
-rw-r--r-- root/root ./usr/share/man/man1/scenarioc.1.gz
-rw-r--r-- root/root ./usr/share/bash-completion/completions/scenarioc
-rw-r--r-- root/root ./usr/share/lintian/overrides/scenarioc
-rw-r--r-- root/root ./usr/share/doc/scenarioc/README.md
-rw-r--r-- root/root ./usr/share/doc/scenarioc/copyright
-rw-r--r-- root/root ./usr/share/doc/scenarioc/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/scenarioc/changelog.Debian.gz
-rw-r--r-- root/root ./usr/share/doc/scenarioc/docs/source-format.md
-rw-r--r-- root/root ./usr/share/doc/scenarioc/docs/compiled-files.md
-rw-r--r-- root/root ./usr/share/doc/scenarioc/docs/editors.md
-rw-r--r-- root/root ./usr/share/doc/scenarioc/docs/timetable.md
-rw-r--r-- root/root ./usr/share/doc/scenarioc/docs/report.png
EOF
)
[[ "$listing" == "$expected" ]] || fail "the package's files:
$listing
expected:
$expected"
if dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { bad = 1 } END { exit !bad }'; then
  fail "a folder whose mode is not rwxr-xr-x"
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
scenarioc="$root/usr/bin/scenarioc"

# Stripped, as Debian ships programs.
if readelf -S "$scenarioc" | grep -qE '\.symtab|\.debug_|\.comment'; then
  fail "usr/bin/scenarioc keeps its symbols, debugging data or .comment"
fi
# The compressed files keep no name and no time (gzip -n).
for gz in usr/share/man/man1/scenarioc.1.gz usr/share/doc/scenarioc/changelog.gz \
  usr/share/doc/scenarioc/changelog.Debian.gz; do
  [[ $(od -An -tx1 -j3 -N5 "$root/$gz" | tr -d ' ') == 0000000000 ]] ||
    fail "$gz keeps a file name or a time in its gzip header"
done
zcat "$root/usr/share/doc/scenarioc/changelog.gz" | grep -q "^## \[${version}\] - " ||
  fail "changelog.gz has no section for $version"

# The installed program works from any folder.
[[ $("$scenarioc" --version) == "scenarioc $version" ]] || fail "--version: $("$scenarioc" --version)"
scenario="$work/a scenario"
mkdir "$scenario"
(cd "$scenario" && "$scenarioc" emit >/dev/null) || fail "emit"
(cd "$scenario" && "$scenarioc" compile Velmora_Dorsel_linea.txt Velmora_Dorsel_904-.txt >/dev/null) ||
  fail "compile of what emit wrote"
for file in Velmora_Dorsel_linea.dat Velmora_Dorsel_904.sim Velmora_Dorsel_904.dat; do
  [[ -s $scenario/$file ]] || fail "compile wrote no $file"
done

# The manual page: formatted without a warning, with the version in its foot.
manual="$root/usr/share/man/man1/scenarioc.1.gz"
if command -v man >/dev/null; then
  page=$(MANWIDTH=80 man --warnings -l "$manual" 2>"$work/man.err") || fail "man -l: $(cat "$work/man.err")"
  [[ ! -s $work/man.err ]] || fail "man -l warns: $(cat "$work/man.err")"
else
  page=$(zcat "$manual" | groff -man -Tascii -ww 2>"$work/man.err") || fail "groff: $(cat "$work/man.err")"
  [[ ! -s $work/man.err ]] || fail "groff warns: $(cat "$work/man.err")"
fi
grep -q "^SCENARIOC(1) " <<<"$page" || fail "the manual page has no heading SCENARIOC(1)"
grep -qE "^scenarioc $version +[0-9]{4}-[0-9]{2}-[0-9]{2} +SCENARIOC\(1\)$" <<<"$page" ||
  fail "the manual page's foot does not name scenarioc $version and its date"

# The completion as bash-completion loads it, for the installed program.
completion="$root/usr/share/bash-completion/completions/scenarioc"
touch "$scenario/notes.txt"
complete_words() {
  (cd "$scenario" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _scenarioc; printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ "$completion" "$scenarioc" "$@")
}
[[ $(complete_words com) == "compile " ]] || fail "completion of 'com': $(complete_words com)"
[[ $(complete_words compile --js) == "--json " ]] || fail "completion of 'compile --js': $(complete_words compile --js)"
[[ $(complete_words compile "") == "Velmora_Dorsel_linea.txt " ]] ||
  fail "completion of a line file: $(complete_words compile "")"
[[ $(complete_words dump "") == "Velmora_Dorsel_904.dat Velmora_Dorsel_904.sim Velmora_Dorsel_linea.dat " ]] ||
  fail "completion of a compiled file: $(complete_words dump "")"

echo "package_deb: $(basename "$deb") installs a working scenarioc, its manual page and completion"
