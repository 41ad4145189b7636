" Brindlewort for Vim and Neovim: re-flow and proofread // comments through
" the brindle command.
"
"   :[range]BrindleWrap [args]   re-flow comments (default range: whole file)
"   :[range]BrindleUnwrap        join comment paragraphs into one line each
"   :[range]BrindleSpell         add spelling marker lines
"   :[range]BrindleGrammar       add passive-voice marker lines
"   :[range]BrindleLint          auto-correct through the helper service
"   gq{motion}                   wraps with brindle in the file types below
"
" Options (set before the plugin loads):
"   g:brindle_command     the program, default 'brindle'
"   g:brindle_wrap_args   extra arguments for wrapping, e.g. '--width 72'
"   g:brindle_filetypes   file types where gq uses brindle
"   g:brindle_formatexpr  0 leaves gq alone

if exists('g:loaded_brindle')
  finish
endif
let g:loaded_brindle = 1

let g:brindle_command = get(g:, 'brindle_command', 'brindle')
let g:brindle_wrap_args = get(g:, 'brindle_wrap_args', '')
let g:brindle_filetypes = get(g:, 'brindle_filetypes',
      \ ['c', 'cpp', 'cs', 'dart', 'go', 'java', 'javascript', 'kotlin',
      \  'objc', 'objcpp', 'php', 'rust', 'scala', 'swift', 'typescript'])
let g:brindle_formatexpr = get(g:, 'brindle_formatexpr', 1)

" Runs brindle on lines first..last and puts its output in their place.
" The lines are replaced only when brindle succeeds, so an error message
" never ends up in the buffer; it is shown instead.
function! BrindleFilter(subcommand, args, first, last) abort
  let l:errors = tempname()
  let l:command = g:brindle_command . ' ' . a:subcommand
        \ . (empty(a:args) ? '' : ' ' . a:args) . ' 2>' . shellescape(l:errors)
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

" gq with brindle; typing past 'textwidth' keeps Vim's own formatting.
function! BrindleFormatExpr() abort
  if mode() =~# '[iR]'
    return 1
  endif
  call BrindleFilter('wrap', g:brindle_wrap_args, v:lnum, v:lnum + v:count - 1)
  return 0
endfunction

command! -range=% -nargs=* BrindleWrap
      \ call BrindleFilter('wrap', empty(<q-args>) ? g:brindle_wrap_args : <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleUnwrap call BrindleFilter('unwrap', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleSpell call BrindleFilter('spell', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleGrammar call BrindleFilter('grammar', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleLint call BrindleFilter('lint', <q-args>, <line1>, <line2>)

augroup brindle
  autocmd!
  autocmd FileType * if g:brindle_formatexpr && index(g:brindle_filetypes, &filetype) >= 0
        \ | setlocal formatexpr=BrindleFormatExpr()
        \ | endif
augroup END
