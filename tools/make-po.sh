#!/usr/bin/env bash
# Regenerates the translators' template po/tetherorb2.pot from the texts the
# game marks with Tr() and N_(), the web page's PageTr(), the desktop entry
# and the AppStream metadata, then merges it into every po/LANG.po. The
# template is rewritten only when more than its date changed.
set -euo pipefail
cd "$(dirname "$0")/.."

POT=po/tetherorb2.pot
NEW=$(mktemp)
trap 'rm -f "$NEW"' EXIT
# Of the hub's files only its pages' texts are a player's (hub_words.cpp); every
# other source file may show a text.
mapfile -t SOURCES < <( (find src -path src/hub -prune -o \( -name '*.cpp' -o -name '*.h' \) -print;
                         echo src/hub/hub_words.cpp) | LC_ALL=C sort)
COMMON=(--from-code=UTF-8 --no-wrap --package-name=tetherorb2 --package-version=0.3
        --msgid-bugs-address=tetherorb2 -o "$NEW")

xgettext "${COMMON[@]}" --language=C++ --keyword=Tr --keyword=TrN:1,2 --keyword=N_ --add-comments=TRANSLATORS: "${SOURCES[@]}"
# The texts are UTF-8 even while every English one is ASCII.
sed -i -e 's/charset=CHARSET/charset=UTF-8/' "$NEW"
# The desktop entry's and the AppStream metadata's texts, by their own rules.
xgettext "${COMMON[@]}" --join-existing packaging/tetherorb2.desktop packaging/tetherorb2.metainfo.xml.in
# The web page's own lines.
xgettext "${COMMON[@]}" --join-existing --language=JavaScript --keyword=PageTr src/platform/platform_web.js
sed -i '1s/.*/# The texts of Tetherorb 2./' "$NEW"

if ! diff -q -I '^"POT-Creation-Date:' "$NEW" "$POT" > /dev/null 2>&1; then
  cp "$NEW" "$POT"
fi
for po in po/*.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-wrap "$po" "$POT"
  msgfmt --check --output-file=/dev/null "$po"
done
