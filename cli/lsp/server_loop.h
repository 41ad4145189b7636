#pragma once

// The language server's one thread: reads messages from a file descriptor,
// waits for the quiet period of changed documents, writes the answers.

namespace brindlewort::cli::lsp {

// Serves the client on `input` and `output` until it sends "exit" or
// closes its end; returns the exit status (0 after a shutdown request, 1
// without one).
int runLanguageServer(int input, int output);

}  // namespace brindlewort::cli::lsp
