-- A scripted author session in Neovim's own LSP client.
vim.opt.fileencodings = "ucs-bom,utf-8,cp1252"
vim.opt.swapfile = false
local client_id
vim.api.nvim_create_autocmd({"BufReadPost", "BufNewFile"}, {
  pattern = {"*_linea.txt", "*-.txt"},
  callback = function(args)
    if not client_id then
      client_id = vim.lsp.start_client({
        name = "scenarioc",
        cmd = {os.getenv("SESSIONS") .. "/record.sh"},
        root_dir = vim.fn.getcwd(),
      })
    end
    vim.lsp.buf_attach_client(args.buf, client_id)
  end,
})
