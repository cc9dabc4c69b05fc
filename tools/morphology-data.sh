#!/usr/bin/env bash
# Copies the Hunspell dictionaries of Debian's packages into data/morphology/, each pair
# named by the locale name the catalogue gives its language, with the package's licence
# as <locale>-hunspell.copyright. A pair already there and as new as the package's is left alone,
# so a run costs nothing; a language whose package is missing is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
target=data/morphology
mkdir -p "$target"
# locale, package, dictionary name under /usr/share/hunspell
while read -r locale package name; do
  aff=/usr/share/hunspell/$name.aff
  dic=/usr/share/hunspell/$name.dic
  [ -f "$aff" ] && [ -f "$dic" ] || continue
  for pair in "$aff:$target/$locale.aff" "$dic:$target/$locale.dic" \
    "/usr/share/doc/$package/copyright:$target/$locale-hunspell.copyright"; do
    from=${pair%%:*}
    to=${pair#*:}
    [ -f "$from" ] || continue
    [ "$to" -nt "$from" ] || cp -L "$from" "$to"
  done
done <<'LIST'
english hunspell-en-us en_US
german hunspell-de-de de_DE
dutch hunspell-nl nl
french hunspell-fr-classical fr
spanish hunspell-es es_ES
greek hunspell-el el_GR
LIST
