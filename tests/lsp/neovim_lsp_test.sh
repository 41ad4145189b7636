#!/bin/sh
# Runs neovim_lsp_test.lua in headless Neovim against BRINDLE; skipped (77)
# when Neovim is not installed.
# Usage: neovim_lsp_test.sh BRINDLE
set -eu
brindle=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v nvim >/dev/null 2>&1 || { echo "nvim is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Neovim's own state, and the shared setting, stay out of the user's folders.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
       XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" ENCHANT_CONFIG_DIR="$work/enchant"
mkdir -p "$work/project"
cat > "$work/project/sample.cpp" <<'TEXT'
// The parser was writen long ago, and this comment line is much longer than forty columns.
// It goes on here.
int main() { return 0; }
TEXT
"$brindle" wrap --fill --width 40 --lines 1:1 "$work/project/sample.cpp" > "$work/expected.cpp"

BRINDLE="$brindle" TEST_FILE="$work/project/sample.cpp" EXPECTED_FILE="$work/expected.cpp" \
  timeout 120 nvim --headless -u NONE -i NONE -n -c "luafile $here/neovim_lsp_test.lua" </dev/null
echo "neovim applied the wrap"
