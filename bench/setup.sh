#!/bin/sh
# Installs what bench/spelling_quality.py measures with and against: the
# real-code corpus, codespell's dictionary of common misspellings and
# hunspell with its en_US dictionary.
set -eu
cd "$(dirname "$0")/.."
./scripts/corpus/install-corpus.sh
missing=""
for p in codespell hunspell hunspell-en-us git; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
