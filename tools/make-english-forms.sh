#!/usr/bin/env bash
# Writes data/morphology/english.forms from WordNet's exception lists (Debian's
# wordnet-base: the irregular forms of nouns, verbs, adjectives and adverbs that no suffix
# rule gives), then the pronouns and auxiliaries WordNet leaves out.
set -euo pipefail
cd "$(dirname "$0")/.."
wordnet=/usr/share/wordnet
[ -f $wordnet/verb.exc ] || { echo "make-english-forms: no $wordnet/verb.exc: install wordnet-base (tools/deps.sh)" >&2; exit 1; }
out=data/morphology/english.forms
{
  echo "# English forms that affix rules do not derive: form<TAB>base, one a line."
  echo "# Made by tools/make-english-forms.sh from WordNet 3.0's exception lists (see"
  echo "# english-wordnet.copyright) and the pronouns and auxiliaries after them."
  # WordNet joins the words of a phrase with "_"; a phrase is no word of a text.
  cat $wordnet/{noun,verb,adj,adv}.exc | awk '$1 !~ /_/ { for (i = 2; i <= NF; i++) if ($i !~ /_/ && $i != $1) print $1 "\t" $i }' |
    awk '!seen[$0]++'
  while read -r base forms; do
    for form in $forms; do printf '%s\t%s\n' "$form" "$base"; done
  done <<'LIST'
I me my mine myself
you your yours yourself yourselves
he him his himself
she her hers herself
it its itself
we us our ours ourselves
they them their theirs themselves
who whom whose
be am is are was were been being
have has had having
do does did done doing
can could
will would
shall should
may might
LIST
} >"$out"
cp /usr/share/doc/wordnet-base/copyright data/morphology/english-wordnet.copyright
echo "$out: $(grep -vc '^#' "$out") forms"
