// Command gotokens prints the tokens of Go source files without their
// comments, one output line per source line that holds any token, so that
// two versions of a file can be compared for code changes with a lexer that
// owes nothing to brindle's. Each file's output starts with a line holding
// "\x00" and the file name. Line numbers are left out on purpose: moving a
// comment shifts them without changing the code.
package main

import (
	"bufio"
	"fmt"
	"go/scanner"
	"go/token"
	"os"
	"strings"
)

func main() {
	out := bufio.NewWriter(os.Stdout)
	defer out.Flush()
	for _, name := range os.Args[1:] {
		fmt.Fprintf(out, "\x00%s\n", name)
		src, err := os.ReadFile(name)
		if err != nil {
			fmt.Fprintf(out, "!read error\n")
			continue
		}
		writeTokens(out, src)
	}
}

func writeTokens(out *bufio.Writer, src []byte) {
	fset := token.NewFileSet()
	file := fset.AddFile("", fset.Base(), len(src))
	var errs []string
	var s scanner.Scanner
	// Error positions are dropped because they move with the comments.
	s.Init(file, src, func(_ token.Position, msg string) { errs = append(errs, msg) }, 0)
	line := 0
	var words []string
	flush := func() {
		if len(words) > 0 {
			fmt.Fprintln(out, strings.Join(words, " "))
			words = words[:0]
		}
	}
	for {
		pos, tok, lit := s.Scan()
		if tok == token.EOF {
			break
		}
		if l := file.Line(pos); l != line {
			flush()
			line = l
		}
		text := tok.String()
		switch {
		case tok == token.SEMICOLON:
			text = ";" // inserted ones carry "\n" as literal
		case lit != "":
			text = strings.ReplaceAll(lit, "\n", "\\n")
		}
		words = append(words, text)
	}
	flush()
	for _, e := range errs {
		fmt.Fprintf(out, "!%s\n", e)
	}
}
