// A generic client for brindle lsp: everything else is the server's.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

exports.activate = function () {
  const languages = ['c', 'cpp', 'go', 'rust', 'java', 'javascript', 'typescript', 'csharp', 'swift',
    'python', 'shellscript', 'ruby', 'perl', 'r', 'yaml', 'toml', 'cmake', 'makefile', 'dockerfile',
    'powershell', 'elixir', 'julia', 'sql', 'lua', 'haskell', 'clojure', 'latex', 'erlang'];
  client = new LanguageClient('brindle', 'Brindlewort', { command: 'brindle', args: ['lsp'] }, {
    documentSelector: languages.map((language) => ({ scheme: 'file', language })),
    initializationOptions: vscode.workspace.getConfiguration('brindle'),
    synchronize: { configurationSection: 'brindle' },
  });
  return client.start();
};

exports.deactivate = function () {
  return client ? client.stop() : undefined;
};
