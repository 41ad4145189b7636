#!/bin/sh
# Shows `brindle lsp` diagnostics in Neovim (the snippet of
# integrations/lsp/neovim) inside xterm under Xvfb and saves the screen to
# docs/lsp-neovim.png. Needs neovim, xterm and imagemagick besides the build.
set -eu
cd "$(dirname "$0")/.."
dir="${BUILD_DIR:-build}"
for tool in nvim xterm import Xvfb; do
  command -v "$tool" >/dev/null || { echo "missing $tool: apt-get install neovim xterm imagemagick xvfb"; exit 1; }
done
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j2 --target brindle

work=$(mktemp -d)
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/bin" "$work/config/nvim/plugin" "$work/project"
ln -s "$(pwd)/$dir/cli/commands/brindle" "$work/bin/brindle"
cp integrations/lsp/neovim/brindle-lsp.lua "$work/config/nvim/plugin/"
cat > "$work/config/nvim/init.lua" <<'LUA'
vim.o.number = true
vim.o.termguicolors = false
vim.o.signcolumn = 'yes'
LUA
cat > "$work/project/retry.cpp" <<'TEXT'
#include <chrono>

// Retries the request until it succeeds or the deadline passes. The delay
// between tries is doubled each time, and the last error is returned to
// the caller when the deadline has been reached without an anwser.
int retry(int (*request)(), std::chrono::seconds deadline);

// Each try is logged with its numbr and the time it took.
TEXT

display=:77
Xvfb "$display" -screen 0 1180x330x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" PATH="$work/bin:$PATH" DISPLAY="$display" \
  xterm -geometry 131x18+0+0 -fa 'DejaVu Sans Mono' -fs 11 -bg white -fg black \
        -e nvim "$work/project/retry.cpp" &
term=$!
sleep 6
mkdir -p docs
DISPLAY="$display" import -window root docs/lsp-neovim.png
kill "$term" 2>/dev/null || true
echo "wrote docs/lsp-neovim.png"
