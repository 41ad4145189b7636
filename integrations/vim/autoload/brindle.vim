" Brindlewort for Vim and Neovim: the work behind the commands and gq of
" plugin/brindle.vim, loaded on first use. See :help brindle.

" The line-comment marker of each file type where g:brindle_gq lets
" brindle take over gq.
let s:markers = {
      \ 'c': '//', 'cpp': '//', 'cs': '//', 'cuda': '//', 'dart': '//', 'go': '//', 'java': '//',
      \ 'javascript': '//', 'javascriptreact': '//', 'kotlin': '//', 'objc': '//', 'objcpp': '//',
      \ 'rust': '//', 'scala': '//', 'swift': '//', 'typescript': '//', 'typescriptreact': '//',
      \ 'zig': '//',
      \ 'python': '#', 'sh': '#', 'bash': '#', 'zsh': '#', 'fish': '#', 'ruby': '#', 'perl': '#',
      \ 'r': '#', 'yaml': '#', 'toml': '#', 'cmake': '#', 'make': '#', 'dockerfile': '#',
      \ 'ps1': '#', 'elixir': '#', 'julia': '#', 'nix': '#', 'dosini': '#', 'conf': '#', 'tcl': '#',
      \ 'sql': '--', 'lua': '--', 'haskell': '--', 'ada': '--', 'elm': '--',
      \ 'lisp': ';', 'clojure': ';', 'scheme': ';',
      \ 'tex': '%', 'plaintex': '%', 'erlang': '%'}
let s:default_filetypes = sort(keys(s:markers))

" The commands that read .editorconfig and the project of the file that
" standard input stands for.
let s:takes_file_name = ['wrap', 'unwrap', 'spell', 'grammar']

" The commands that take the whole buffer and --lines, so that the lexer
" sees the strings and block comments around the range.
let s:takes_lines = ['wrap', 'unwrap']

" The name brindle is told the buffer holds, or '' when it has none.
function! s:file_name() abort
  return empty(expand('%')) ? '' : expand('%:p')
endfunction

" Runs brindle with the lines as standard input. Returns [status, output
" lines, standard error]. The lines are sent with a line feed after the
" last one, as a file holds them: without it a blank last line would be
" lost on the way.
function! s:run(subcommand, args, lines) abort
  let l:errors = tempname()
  let l:command = get(g:, 'brindle_command', 'brindle') . ' ' . a:subcommand
  if !empty(a:args)
    let l:command .= ' ' . a:args
  endif
  " Piped text gets the language, .editorconfig and project of the file.
  if index(s:takes_file_name, a:subcommand) >= 0 && !empty(s:file_name())
    let l:command .= ' --stdin-filename ' . shellescape(s:file_name())
  endif
  let l:command .= ' 2>' . shellescape(l:errors)
  let l:output = systemlist(l:command, a:lines + [''])
  let l:status = v:shell_error
  let l:message = filereadable(l:errors) ? join(readfile(l:errors), ' ') : ''
  call delete(l:errors)
  return [l:status, l:output, l:message]
endfunction

function! s:failed(subcommand, message) abort
  echohl ErrorMsg
  echomsg 'brindle ' . a:subcommand . ' failed: ' . a:message
  echohl None
endfunction

" Puts `lines` in place of lines first..last in place, so the change is one
" undo step and marks outside the range stay where they were.
function! s:replace(first, last, lines) abort
  let l:view = winsaveview()
  let l:common = min([len(a:lines), a:last - a:first + 1])
  if l:common > 0
    call setline(a:first, a:lines[: l:common - 1])
  endif
  if len(a:lines) > l:common
    call append(a:first + l:common - 1, a:lines[l:common :])
  elseif a:last - a:first + 1 > l:common
    silent execute (a:first + l:common) . ',' . a:last . 'delete _'
  endif
  call winrestview(l:view)
endfunction

" Runs brindle on lines first..last and puts its output in their place:
" for wrap and unwrap the whole buffer goes with --lines, and only what
" changed is replaced. The lines are replaced only when brindle succeeds,
" so an error message never ends up in the buffer; it is shown instead.
" Returns 0 on success.
function! brindle#filter(subcommand, args, first, last) abort
  let l:whole = index(s:takes_lines, a:subcommand) >= 0
  let l:args = a:args
  if l:whole
    let l:args .= (empty(l:args) ? '' : ' ') . '--lines ' . a:first . ':' . a:last
  endif
  let l:before = l:whole ? getline(1, '$') : getline(a:first, a:last)
  let [l:status, l:output, l:message] = s:run(a:subcommand, l:args, l:before)
  if l:status != 0
    call s:failed(a:subcommand, l:message)
    return 1
  endif
  if l:output ==# l:before
    return 0
  endif
  " Only the stretch between the lines that stayed the same is replaced.
  let l:start = 0
  let l:shorter = min([len(l:before), len(l:output)])
  while l:start < l:shorter && l:before[l:start] ==# l:output[l:start]
    let l:start += 1
  endwhile
  let l:end = 0
  while l:end < l:shorter - l:start
        \ && l:before[-1 - l:end] ==# l:output[-1 - l:end]
    let l:end += 1
  endwhile
  let l:offset = l:whole ? 1 : a:first
  call s:replace(l:offset + l:start, l:offset + len(l:before) - l:end - 1,
        \ l:output[l:start : len(l:output) - l:end - 1])
  return 0
endfunction

" The byte column of character `column` (from 1) of a line of UTF-8 text,
" as brindle counts characters; done by hand so that it holds whatever
" 'encoding' Vim runs with.
function! s:byte_column(line, column) abort
  let l:at = 0
  let l:chars = 1
  while l:at < len(a:line) && l:chars < a:column
    let l:at += 1
    " Continuation bytes belong to the character before.
    while l:at < len(a:line) && a:line[l:at] >=# "\x80" && a:line[l:at] <# "\xc0"
      let l:at += 1
    endwhile
    let l:chars += 1
  endwhile
  return l:at + 1
endfunction

" Puts the findings of `brindle SUBCOMMAND --check` on lines first..last
" in the quickfix list, or the location list of the window when `local`
" (a bang) or g:brindle_use_loclist is set. The buffer is not changed.
function! brindle#check(subcommand, args, first, last, local) abort
  let l:args = '--check' . (empty(a:args) ? '' : ' ' . a:args)
  let [l:status, l:output, l:message] = s:run(a:subcommand, l:args, getline(1, '$'))
  " 1 means findings; anything else but 0 is a failure.
  if l:status != 0 && l:status != 1
    call s:failed(a:subcommand, l:message)
    return 1
  endif
  let l:name = empty(s:file_name()) ? '(standard input)' : s:file_name()
  let l:items = []
  for l:line in l:output
    " NAME:LINE:COLUMN: TEXT, the column counted in characters.
    if strpart(l:line, 0, len(l:name) + 1) !=# l:name . ':'
      continue
    endif
    let l:parts = matchlist(strpart(l:line, len(l:name) + 1), '^\(\d\+\):\(\d\+\): \(.*\)$')
    if empty(l:parts) || l:parts[1] < a:first || l:parts[1] > a:last
      continue
    endif
    let l:lnum = str2nr(l:parts[1])
    call add(l:items, {'bufnr': bufnr('%'), 'lnum': l:lnum,
          \ 'col': s:byte_column(getline(l:lnum), str2nr(l:parts[2])), 'text': l:parts[3]})
  endfor
  let l:title = 'brindle ' . a:subcommand
  if a:local || get(g:, 'brindle_use_loclist', 0)
    call setloclist(0, [], ' ', {'title': l:title, 'items': l:items})
    lwindow
  else
    call setqflist([], ' ', {'title': l:title, 'items': l:items})
    cwindow
  endif
  echo l:title . ': ' . len(l:items) . (len(l:items) == 1 ? ' finding' : ' findings')
  return 0
endfunction

" The arguments for wrapping with gq: 'textwidth' when it is set, else none,
" so that brindle uses the file's .editorconfig, then the shared setting.
function! brindle#gq_args() abort
  let l:args = get(g:, 'brindle_wrap_args', '')
  if &textwidth > 0
    let l:args .= (empty(l:args) ? '' : ' ') . '--width ' . &textwidth
  endif
  return l:args
endfunction

" 'formatexpr': gq with brindle where the lines hold line comments of the
" file type (//, #, --, ; or %). A range without any (code, a code line with
" a comment after it, other comment styles) goes back to Vim's own
" formatting by returning 1, as does typing past 'textwidth' in Insert mode.
" In a range with such comments, brindle re-flows those and leaves every
" other line as it is.
function! brindle#formatexpr() abort
  if mode() =~# '[iR]'
    return 1
  endif
  let l:first = v:lnum
  let l:last = v:lnum + v:count - 1
  let l:marker = escape(get(s:markers, &filetype, '//'), '\\.*$^~[]')
  if empty(filter(getline(l:first, l:last), 'v:val =~# ''^\s*' . l:marker . ''''))
    return 1
  endif
  call brindle#filter('wrap', brindle#gq_args(), l:first, l:last)
  return 0
endfunction

" Called for each file type when g:brindle_gq is on.
function! brindle#enable_gq() abort
  if index(get(g:, 'brindle_filetypes', s:default_filetypes), &filetype) >= 0
    setlocal formatexpr=brindle#formatexpr()
  endif
endfunction
