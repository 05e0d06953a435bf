#!/usr/bin/env bash
# The bash completion of scenarioc, sourced and called as bash calls it: the
# commands and options of the program's own help, the values of options, and
# file names of the kind each argument takes, in a folder that holds every
# kind (and a name with a blank).
#
#   completion_test.sh SCENARIOC COMPLETION_SCRIPT
set -uo pipefail
scenarioc=$(realpath "$1")
script=$(realpath "$2")

# shellcheck source=/dev/null
source "$script"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir sub "with blank"
touch A_linea.txt A_1-.txt notes.txt A_linea.dat A_1.dat A_1.sim page.html "B c_linea.txt" \
  sub/C_linea.txt sub/C_2-.txt

failures=0

# The completions of the command line WORDS..., the last being the word under
# the cursor, sorted and one a line.
completions() {
  COMP_WORDS=("$scenarioc" "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _scenarioc
  printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort
}

# expect "WORDS..." "EXPECTED|..." : the completions of WORDS (split at
# blanks; a blank at the end completes an empty word) are exactly EXPECTED,
# separated by "|".
expect() {
  local words expected actual
  read -r -a words <<<"$1"
  [[ $1 == *" " ]] && words+=("")
  expected=$(tr '|' '\n' <<<"$2" | sed '/^$/d' | sort)
  actual=$(completions "${words[@]}")
  if [[ "$actual" != "$expected" ]]; then
    echo "FAIL: scenarioc $1<TAB>"
    echo "  expected: $(tr '\n' '|' <<<"$expected")"
    echo "  got:      $(tr '\n' '|' <<<"$actual")"
    failures=$((failures + 1))
  fi
}

# The commands are those of --help.
commands=$("$scenarioc" --help | awk '/^Commands:/{i=1;next} i&&/^[^ ]/{i=0} i&&/^  [a-z]/{print $1}')
[[ -n $commands ]] || { echo "FAIL: scenarioc --help lists no command"; failures=$((failures + 1)); }
expect " " "$(tr '\n' '|' <<<"$commands")--help|--version"
expect "help " "$(tr '\n' '|' <<<"$commands")"
expect "--v" "--version"

# Each command offers every option its help names.
for command in $commands; do
  offered=$(completions "$command" "-")
  for option in $("$scenarioc" "$command" --help | grep -oE '(^|[^A-Za-z0-9_-])--?[A-Za-z][A-Za-z0-9-]*' |
    sed -E 's/^[^-]//; s/^-Wno-NAME$/-Wno-/; /^-WNAME$/d' | sort -u); do
    [[ $option == --color ]] && option=--color=
    if ! grep -qx -- "$option" <<<"$offered"; then
      echo "FAIL: scenarioc $command -<TAB> does not offer $option"
      failures=$((failures + 1))
    fi
  done
done

# Options, their values and the warning classes.
expect "emit -" "-o|--output|--force|--help"
expect "dump A_1.dat --" "--kind|--json|--all|--points|--help"
expect "dump A_1.dat --kind " "track|stations|cells"
expect "dump A_1.dat --kind s" "stations"
expect "compile --co" "--color="
expect "compile --color = " "auto|always|never"
expect "compile --color = a" "auto|always"
expect "check --color=n" "never"
expect "compile -Wno-ov" "-Wno-overlap|-Wno-overwrite"
expect "watch -Wno-e" "-Wno-encoding|-Wno-error|-Wno-extra-fields"
expect "check -Wb" "-Wbeyond-route|-Wboard-speed"
expect "compile A_linea.txt A_1-.txt --name " ""
expect "check -j " ""

# File names of the kind each argument takes; folders to go down into.
expect "compile " "sub|with blank|A_linea.txt|B c_linea.txt"
expect "compile A_linea.txt " "sub|with blank|A_1-.txt"
expect "compile A_linea.txt -o out --name X " "sub|with blank|A_1-.txt"
expect "compile A_linea.txt --output = out " "sub|with blank|A_1-.txt"
expect "compile A_linea.txt A_1-.txt -o " "sub|with blank"
expect "compile sub/" "sub/C_linea.txt"
expect "compile A_linea.txt sub/" "sub/C_2-.txt"
expect "check " "sub|with blank|A_linea.txt|A_1-.txt|B c_linea.txt"
expect "check sub/" "sub/C_linea.txt|sub/C_2-.txt"
expect "dump " "sub|with blank|A_linea.dat|A_1.dat|A_1.sim"
expect "report A_linea.txt A_1-.txt -o " "sub|with blank|page.html"
expect "watch A_linea.txt A_1-.txt --report " "sub|with blank|page.html"
expect "watch A_linea.txt A_1-.txt -o " "sub|with blank"
expect "emit -o " "sub|with blank"
expect "lsp " ""
expect "compile A_linea.txt A_1-.txt " ""

if ((failures > 0)); then
  echo "completion: $failures failure(s)"
  exit 1
fi
echo "completion: every case as expected"
