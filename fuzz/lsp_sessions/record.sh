#!/bin/sh
# Started by Neovim as its language server: passes the editor's messages on to
# `scenarioc lsp` and keeps a copy of them in $LSP_RECORD.
tee -a "$LSP_RECORD" | "$SCENARIOC" lsp
