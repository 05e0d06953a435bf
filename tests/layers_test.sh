#!/usr/bin/env bash
# The layer check passes on the tree and fails on a copy of it with one
# upward include planted in the source layer.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
check="$top/scripts/check_layers.sh"

bash "$check" "$top"

copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
cp -r "$top/src" "$top/tools" "$copy/"
sed -i '0,/#include "base\/file_naming.h"/s//&\n#include "compiler\/scenario_records.h"/' \
  "$copy/src/source/text_writer.cc" "$copy/src/source/builtin_line.cc"
if output="$(bash "$check" "$copy")"; then
  echo "layers_test: an upward include from source/ into compiler/ was not caught" >&2
  exit 1
fi
echo "$output"
grep -q 'src/source/builtin_line.cc:[0-9]*: includes "compiler/scenario_records.h": source may include only base, source' <<<"$output"
