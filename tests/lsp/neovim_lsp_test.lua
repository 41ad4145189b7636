-- Neovim as the language server's client: opens a file, waits for the
-- findings, asks for the code actions at the first line and applies "Wrap
-- comment paragraph". Exits with 0 when the buffer then holds what
-- `brindle wrap --fill` gives, 1 otherwise (with the reason on stderr).
local brindle = os.getenv('BRINDLE')
local file = os.getenv('TEST_FILE')
local expected_file = os.getenv('EXPECTED_FILE')

local function fail(message)
  io.stderr:write('neovim lsp test: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

vim.cmd('edit ' .. vim.fn.fnameescape(file))
local bufnr = vim.api.nvim_get_current_buf()
local client_id = vim.lsp.start_client({
  name = 'brindle',
  cmd = { brindle, 'lsp' },
  root_dir = vim.fn.fnamemodify(file, ':h'),
  init_options = { width = 40 },
})
if not client_id then fail('the server did not start') end
vim.lsp.buf_attach_client(bufnr, client_id)

if not vim.wait(20000, function() return #vim.diagnostic.get(bufnr) > 0 end, 50) then
  fail('no diagnostics arrived')
end
local messages = {}
for _, d in ipairs(vim.diagnostic.get(bufnr)) do messages[#messages + 1] = d.message end
if not vim.tbl_contains(messages, 'spelling: "writen"') then
  fail('diagnostics were: ' .. table.concat(messages, '; '))
end

local client = vim.lsp.get_client_by_id(client_id)
vim.api.nvim_win_set_cursor(0, { 1, 0 })
local params = vim.lsp.util.make_range_params()
params.context = { diagnostics = vim.lsp.diagnostic.get_line_diagnostics(bufnr, 0) }
local response = client.request_sync('textDocument/codeAction', params, 10000, bufnr)
if not response or response.err then fail('the code action request failed') end
local wrap
for _, action in ipairs(response.result or {}) do
  if action.title == 'Wrap comment paragraph' then wrap = action end
end
if not wrap then fail('no "Wrap comment paragraph" action') end
vim.lsp.util.apply_workspace_edit(wrap.edit, client.offset_encoding)

local got = vim.api.nvim_buf_get_lines(bufnr, 0, -1, false)
local want = vim.fn.readfile(expected_file)
if not vim.deep_equal(got, want) then
  fail('the buffer holds:\n' .. table.concat(got, '\n') .. '\nexpected:\n' .. table.concat(want, '\n'))
end
vim.lsp.stop_client(client_id)
vim.cmd('qall!')
