#!/usr/bin/env bash
# Records the seed corpus of the lsp fuzz target: real sessions of Neovim's
# language client (Neovim 0.7 or later) with `scenarioc lsp`, each a script of
# an author's edits, hovers, completions and jumps on a fixture's scenario.
# What the editor sent is kept, byte for byte, as fuzz/corpus/lsp/neovim_NAME.
# Run by hand when the server's protocol changes:
#   fuzz/lsp_sessions/record_all.sh BUILD/tools/scenarioc
set -euo pipefail
cd "$(dirname "$0")/../.."

export SCENARIOC="$(realpath "$1")"
export SESSIONS="$PWD/fuzz/lsp_sessions"
folder=/tmp/scenario-lsp-session  # the folder the recorded URIs name
mkdir -p fuzz/corpus/lsp

for session in typing:clean error:signal_on_speed_board accents:clean; do
  name="${session%%:*}"
  rm -rf "$folder" && mkdir "$folder"
  cp "tests/fixtures/${session#*:}"/Prova_*.txt "$folder/"
  export LSP_RECORD="$PWD/fuzz/corpus/lsp/neovim_$name"
  rm -f "$LSP_RECORD"
  (cd "$folder" && timeout 120 nvim --headless -u "$SESSIONS/init.lua" \
    -c "luafile $SESSIONS/$name.lua" >/dev/null 2>&1)
  echo "recorded $LSP_RECORD"
done
rm -rf "$folder"
