#!/usr/bin/env bash
# Checks that includes point down the layers only:
#   base <- source <- compiler <- documents <- driver,
#   and tools/ above everything but the driver.
# Prints each upward or unknown include as FILE:LINE and ends with status 1
# when there is one.
#
#   check_layers.sh [ROOT]   ROOT is the project's top folder (default: this one)
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

# What each layer may include, itself included.
declare -A allowed=(
  [base]="base"
  [source]="base source"
  [compiler]="base source compiler"
  [documents]="base source compiler documents"
  [driver]="base source compiler documents driver"
  [tools]="base source compiler documents"
)
layers=" base source compiler documents driver "

faults=0
check_file() {
  local file="$1" layer="$2" line_number=0 line target top
  while IFS= read -r line; do
    line_number=$((line_number + 1))
    [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    target="${BASH_REMATCH[1]}"
    top="${target%%/*}"
    if [[ "$layers" != *" $top "* ]]; then
      # A tool's own headers sit beside it; anything else names no layer.
      if [[ "$layer" == tools && -f "tools/$target" ]]; then continue; fi
      echo "$file:$line_number: includes \"$target\", which is in no layer"
      faults=$((faults + 1))
      continue
    fi
    if [[ " ${allowed[$layer]} " != *" $top "* ]]; then
      echo "$file:$line_number: includes \"$target\": $layer may include only ${allowed[$layer]// /, }"
      faults=$((faults + 1))
    fi
  done <"$file"
}

while IFS= read -r -d '' file; do
  case "$file" in
    src/*) layer="${file#src/}"; layer="${layer%%/*}" ;;
    tools/*) layer=tools ;;
  esac
  if [[ -z "${allowed[$layer]+set}" ]]; then
    echo "$file: lies in no layer (src/ holds only:$layers)"
    faults=$((faults + 1))
    continue
  fi
  check_file "$file" "$layer"
done < <(find src tools -type f \( -name '*.h' -o -name '*.cc' \) -print0 | sort -z)

if ((faults > 0)); then
  echo "check_layers: $faults include(s) break the layers"
  exit 1
fi
echo "check_layers: every include points down"
