" Brindlewort for Vim and Neovim: re-flow and proofread line comments through
" the brindle command. The functions live in autoload/brindle.vim; the
" commands and options are described in :help brindle.

if exists('g:loaded_brindle')
  finish
endif
let g:loaded_brindle = 1

command! -range=% -nargs=* BrindleWrap
      \ call brindle#filter('wrap', empty(<q-args>) ? get(g:, 'brindle_wrap_args', '') : <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleUnwrap call brindle#filter('unwrap', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* -bang BrindleSpell
      \ call brindle#check('spell', <q-args>, <line1>, <line2>, <bang>0)
command! -range=% -nargs=* -bang BrindleGrammar
      \ call brindle#check('grammar', <q-args>, <line1>, <line2>, <bang>0)
command! -range=% -nargs=* BrindleSpellMarks call brindle#filter('spell', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleGrammarMarks call brindle#filter('grammar', <q-args>, <line1>, <line2>)
command! -range=% -nargs=* BrindleLint call brindle#filter('lint', <q-args>, <line1>, <line2>)

" gq is Vim's own unless the user asks for brindle.
augroup brindle
  autocmd!
  autocmd FileType * if get(g:, 'brindle_gq', 0) | call brindle#enable_gq() | endif
augroup END
