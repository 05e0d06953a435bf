#!/usr/bin/env bash
# Writes a scenario of the greatest route length, 1000000 m, derived from the
# built-in one: every route position of the emitted line and train sources is
# stretched four times (243000 m become 972000 m), so the long route keeps the
# built-in counts of stations, signals, curves and boards and compiles cleanly.
#
# Usage: bench/make_long_route.sh SCENARIOC OUT_DIR
# Leaves Velmora_Dorsel_linea.txt and Velmora_Dorsel_904-.txt in OUT_DIR.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 SCENARIOC OUT_DIR" >&2
  exit 2
fi
scenarioc="$1"
out="$2"
emitted="$(mktemp -d)"
trap 'rm -rf "$emitted"' EXIT

"$scenarioc" emit -o "$emitted" >/dev/null
mkdir -p "$out"

# Fields are separated by commas; blanks after a comma carry no meaning, so a
# changed value is written back with one blank before it.
stretch='
BEGIN { FS = ","; OFS = ","; ORS = "\r\n"; factor = 4 }
function scale(i) { $i = " " ($i * factor) }
{
  sub(/\r$/, "")
  keyword = $1
  if (keyword ~ /lunghezza/ && keyword ~ /percorso/) { $2 = " 1000000" }
  else if (keyword ~ /ripetizione/) { scale(2); scale(3) }
  else if (keyword ~ /^curva/) { scale(2) }
  else if (keyword ~ /^montagna/) { scale(2); scale(3) }
  else if (keyword ~ /^(pendenza|indicatori_vmax|cartello_indicatore)/) { scale(2) }
  else if (keyword ~ /^(aderenza|velocita|stazione|rallentamento|segnale|abbattimento)/) { scale(2) }
  print
}'
awk "$stretch" "$emitted/Velmora_Dorsel_linea.txt" >"$out/Velmora_Dorsel_linea.txt"
awk "$stretch" "$emitted/Velmora_Dorsel_904-.txt" >"$out/Velmora_Dorsel_904-.txt"
