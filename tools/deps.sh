#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named on the command
# line (tools/deps.sh wngerman ...), when any is missing; unpacks Hunspell's source package
# under build/sources/ and copies the Hunspell dictionaries into data/morphology/.
set -euo pipefail
packages=(
  cmake make g++ ccache googletest libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 fonts-wine xvfb x11-utils xauth imagemagick fonts-liberation clang-format
  cups printer-driver-cups-pdf poppler-utils
  zlib1g-dev libz-mingw-w64-dev libxml2-dev libicu-dev dict-freedict-eng-deu dict-freedict-deu-eng dict-freedict-eng-fra dict-freedict-eng-nld dict-freedict-deu-fra dict-freedict-ell-eng dict-freedict-eng-rus dictd
  nsis zip
  clang libclang-rt-14-dev
  dpkg-dev hunspell-de-de hunspell-en-us hunspell-nl hunspell-fr-classical hunspell-es hunspell-el wordnet-base
  "$@"
)
# The 32-bit build runs under Wine's 32-bit side, where the kernel runs 32-bit programs at
# all; elsewhere wine32 would break the 64-bit Wine too. Its printing goes through the
# 32-bit CUPS library, which wine32 only recommends.
if "$(dirname "$0")/runs-32bit"; then
  packages+=(wine32:i386 libcups2:i386)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # wine32 comes from the i386 architecture.
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
"$(dirname "$0")/hunspell-source.sh"
"$(dirname "$0")/morphology-data.sh"
