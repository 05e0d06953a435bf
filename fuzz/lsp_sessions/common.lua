-- Helpers of the scripted sessions.
function wait(ms) vim.wait(ms, function() return false end) end
function ask(method, line, character)
  local params = vim.lsp.util.make_position_params()
  params.position = {line = line, character = character}
  local r = vim.lsp.buf_request_sync(0, method, params, 3000)
  return r
end
function type_at(line, col, text)
  vim.api.nvim_win_set_cursor(0, {line, col})
  vim.api.nvim_put({text}, "c", false, true)
end
function done()
  wait(500)
  vim.cmd("qa!")
end
