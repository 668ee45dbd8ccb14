#!/usr/bin/env bash
# Regenerates the translators' template po/tetherorb2.pot from the texts the
# game marks with Tr() and N_(), then merges it into every po/LANG.po.
set -euo pipefail
cd "$(dirname "$0")/.."

POT=po/tetherorb2.pot
# The server's pages are not the game's: every other source file may show a text.
mapfile -t SOURCES < <(find src -path src/hub -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | LC_ALL=C sort)

xgettext --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=N_ \
  --add-comments=TRANSLATORS: --package-name=tetherorb2 --package-version=0.3 \
  --msgid-bugs-address=tetherorb2 --no-wrap -o "$POT" "${SOURCES[@]}"
# The desktop entry's and the AppStream metadata's texts, by their own rules.
xgettext --join-existing --from-code=UTF-8 --no-wrap -o "$POT" \
  packaging/tetherorb2.desktop packaging/tetherorb2.metainfo.xml.in
# The web page's own lines.
xgettext --join-existing --language=JavaScript --keyword=PageTr --from-code=UTF-8 --no-wrap -o "$POT" \
  src/platform/platform_web.js
# The texts are UTF-8 even while every English one is ASCII.
sed -i -e 's/charset=CHARSET/charset=UTF-8/' -e '1s/.*/# The texts of Tetherorb 2./' "$POT"

for po in po/*.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-wrap "$po" "$POT"
  msgfmt --check --output-file=/dev/null "$po"
done
