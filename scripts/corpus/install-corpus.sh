#!/bin/sh
# Installs the Debian packages whose sources make up the damage-check corpus,
# plus the tools that read code independently of brindle (gcc's preprocessor,
# Go's scanner, pygments). Safe to run again: packages already present are
# skipped, so a machine that has everything never touches the network.
set -eu

#   install-corpus.sh [--syntaxes]
#
# The "//" corpus; with --syntaxes also the block, "#", docstring and "--"
# corpus: C headers, Javadoc (src.zip), TypeScript declarations, Python,
# Perl and Ruby standard libraries, CMake modules, Lua (penlight, and
# neovim's runtime from install-deps.sh); shell scripts, YAML and TOML come
# from packages above.
packages="golang-src golang-go libabsl-dev librust-clap-dev librust-serde-dev
librust-tokio-dev libstdc++-12-dev qt6-base-dev golang-etcd-server-dev libimgui-dev libstb-dev g++ python3"
syntaxes=false
if [ "${1:-}" = "--syntaxes" ]; then
  syntaxes=true
  packages="$packages python3-pygments libc6-dev zlib1g-dev libcurl4-openssl-dev openjdk-17-source
node-typescript libpython3.11-stdlib perl-modules-5.36 ruby cmake-data lua-penlight"
fi

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done

if [ "$(id -u)" -eq 0 ]; then
  sudo=""
else
  sudo="sudo"
fi
if [ -n "$missing" ]; then
  echo "installing:$missing" >&2
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

$syntaxes || exit 0

# SQL: PostgreSQL's own scripts, unpacked from its package into a cache
# rather than installed, which would set up and start a database server.
# Without them the sql corpus is only left out.
sql="${XDG_CACHE_HOME:-$HOME/.cache}/brindle-corpus/postgresql"
if ! ls -d /usr/share/postgresql/[0-9]* >/dev/null 2>&1 &&
   ! ls -d "$sql"/usr/share/postgresql/[0-9]* >/dev/null 2>&1; then
  echo "unpacking postgresql-15's SQL scripts into $sql" >&2
  mkdir -p "$sql"
  (cd "$sql" && apt-get download -q postgresql-15 >/dev/null && dpkg-deb -x postgresql-15_*.deb . \
    && rm -f postgresql-15_*.deb) || echo "could not unpack postgresql-15; the sql corpus is left out" >&2
fi
