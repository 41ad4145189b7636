" Brindlewort for Vim and Neovim: the work behind the commands and gq of
" plugin/brindle.vim, loaded on first use. See :help brindle.

" The file types where g:brindle_gq lets brindle take over gq.
let s:default_filetypes = ['c', 'cpp', 'cs', 'cuda', 'dart', 'go', 'java', 'javascript',
      \ 'javascriptreact', 'kotlin', 'objc', 'objcpp', 'rust', 'scala', 'swift', 'typescript',
      \ 'typescriptreact', 'zig']

" The commands that read .editorconfig and the project of the file that
" standard input stands for.
let s:takes_file_name = ['wrap', 'unwrap', 'spell', 'grammar']

" Runs brindle on lines first..last and puts its output in their place.
" The lines are replaced only when brindle succeeds, so an error message
" never ends up in the buffer; it is shown instead. Returns 0 on success.
function! brindle#filter(subcommand, args, first, last) abort
  let l:errors = tempname()
  let l:command = get(g:, 'brindle_command', 'brindle') . ' ' . a:subcommand
  if !empty(a:args)
    let l:command .= ' ' . a:args
  endif
  " Piped text gets the language, .editorconfig and project of the file.
  if index(s:takes_file_name, a:subcommand) >= 0 && !empty(expand('%'))
    let l:command .= ' --stdin-filename ' . shellescape(expand('%:p'))
  endif
  let l:command .= ' 2>' . shellescape(l:errors)
  let l:output = systemlist(l:command, getline(a:first, a:last))
  let l:status = v:shell_error
  let l:message = filereadable(l:errors) ? join(readfile(l:errors), ' ') : ''
  call delete(l:errors)
  if l:status != 0
    echohl ErrorMsg
    echomsg 'brindle ' . a:subcommand . ' failed: ' . l:message
    echohl None
    return 1
  endif
  if l:output ==# getline(a:first, a:last)
    return 0
  endif
  let l:view = winsaveview()
  " Replace in place, so the change is one undo step and marks outside the
  " range stay where they were.
  let l:common = min([len(l:output), a:last - a:first + 1])
  if l:common > 0
    call setline(a:first, l:output[: l:common - 1])
  endif
  if len(l:output) > l:common
    call append(a:first + l:common - 1, l:output[l:common :])
  elseif a:last - a:first + 1 > l:common
    silent execute (a:first + l:common) . ',' . a:last . 'delete _'
  endif
  call winrestview(l:view)
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

" 'formatexpr': gq with brindle where the lines hold // comments. A range
" without any (code, a code line with a comment after it, other comment
" styles) goes back to Vim's own formatting by returning 1, as does
" typing past 'textwidth' in Insert mode. In a range with // comments,
" brindle re-flows those and leaves every other line as it is.
function! brindle#formatexpr() abort
  if mode() =~# '[iR]'
    return 1
  endif
  let l:first = v:lnum
  let l:last = v:lnum + v:count - 1
  if empty(filter(getline(l:first, l:last), 'v:val =~# ''^\s*//'''))
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
