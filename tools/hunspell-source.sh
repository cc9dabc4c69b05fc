#!/usr/bin/env bash
# Unpacks Debian's source package of Hunspell into build/sources/, where CMake builds it for
# every preset; does nothing when it is there. apt-get source needs a deb-src entry, which
# goes into a file of our own beside the machine's entries.
set -euo pipefail
cd "$(dirname "$0")/.."
sources=build/sources
ls -d "$sources"/hunspell-*/src/hunspell/hunspell.hxx >/dev/null 2>&1 && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
entry=/etc/apt/sources.list.d/dictionary-sources.sources
if [ ! -f "$entry" ]; then
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm bookworm-updates' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | $sudo tee "$entry" >/dev/null
fi
# The source index comes with the entry; an update before it would not hold it.
apt-get source --print-uris hunspell 2>/dev/null | grep -q "\.dsc'" || $sudo apt-get update -qq

# Unpacked in a scratch folder and moved into place whole, so a broken run leaves nothing
# that looks like a source tree.
mkdir -p "$sources"
scratch=$(mktemp -d "$sources/.unpack.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && apt-get source -qq hunspell >/dev/null 2>&1) || {
  echo "hunspell-source: apt-get source hunspell failed" >&2
  exit 1
}
tree=$(find "$scratch" -mindepth 1 -maxdepth 1 -type d -name 'hunspell-*' | head -1)
[ -f "$tree/src/hunspell/hunspell.hxx" ] || {
  echo "hunspell-source: the source package holds no src/hunspell" >&2
  exit 1
}
mv "$tree" "$sources/"
echo "Hunspell source: $sources/$(basename "$tree")"
