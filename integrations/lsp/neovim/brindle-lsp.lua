-- brindle lsp for Neovim 0.7 and later: one server for every buffer of a
-- language with line comments (//, #, --, ;, %). Put this file in ~/.config/nvim/plugin/.
local filetypes = { 'c', 'cpp', 'objc', 'objcpp', 'swift', 'rust', 'go', 'java', 'kotlin',
                    'javascript', 'typescript', 'cs', 'dart', 'zig', 'scala',
                    'python', 'sh', 'bash', 'zsh', 'ruby', 'perl', 'r', 'yaml', 'toml', 'cmake',
                    'make', 'dockerfile', 'ps1', 'elixir', 'julia', 'nix', 'dosini', 'sql', 'lua',
                    'haskell', 'elm', 'ada', 'lisp', 'clojure', 'scheme', 'tex', 'erlang' }
local client_id

vim.api.nvim_create_autocmd('FileType', {
  pattern = filetypes,
  callback = function(args)
    if not client_id or not vim.lsp.get_client_by_id(client_id) then
      client_id = vim.lsp.start_client({
        name = 'brindle',
        cmd = { 'brindle', 'lsp' },
        root_dir = vim.fn.getcwd(),
        -- width: leave it out to follow .editorconfig and the shared setting.
        init_options = { severity = 'hint' },
      })
    end
    if client_id then vim.lsp.buf_attach_client(args.buf, client_id) end
  end,
})
