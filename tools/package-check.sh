#!/usr/bin/env bash
# Builds the Debian package and checks it the way a distribution would:
# unpacked with dpkg-deb into a scratch root, lintian on the .deb, and the
# desktop entry and AppStream metadata through their validators.
#   tools/package-check.sh [build-dir]
set -euo pipefail
BUILD=${1:-build}
(cd "$BUILD" && cpack -G DEB > /dev/null)
DEB=$(ls -t "$BUILD"/package/tetherorb2_*.deb | head -n 1)
ROOT=$(mktemp -d)
trap 'rm -rf "$ROOT"' EXIT
dpkg-deb -x "$DEB" "$ROOT"
echo "== contents of $DEB"
dpkg-deb -c "$DEB"
echo "== dependencies: $(dpkg-deb -f "$DEB" Depends)"
for f in usr/games/tetherorb2 usr/share/games/tetherorb2/Media/tetherorb2texture.png \
         usr/share/games/tetherorb2/Levels/level1.dat usr/share/man/man6/tetherorb2.6.gz; do
  [ -e "$ROOT/$f" ] || { echo "missing from the package: /$f"; exit 1; }
done
# Each catalogue's language: its compiled messages, and the name and summary in its words.
for po in "$(dirname "$0")"/../po/*.po; do
  lang=$(basename "$po" .po)
  [ -e "$ROOT/usr/share/locale/$lang/LC_MESSAGES/tetherorb2.mo" ] || { echo "no $lang catalogue in the package"; exit 1; }
  grep -q "^Comment\[$lang\]=" "$ROOT"/usr/share/applications/tetherorb2.desktop &&
    grep -q "<summary xml:lang=\"$lang\">" "$ROOT"/usr/share/metainfo/*.metainfo.xml ||
    { echo "the desktop entry or the metadata lacks the $lang name and summary"; exit 1; }
done
desktop-file-validate "$ROOT"/usr/share/applications/tetherorb2.desktop
appstreamcli validate --no-net "$ROOT"/usr/share/metainfo/*.metainfo.xml
echo "== lintian"
# Errors fail the check; warnings and notes are shown.
lintian --fail-on error --display-info "$DEB"
echo "package-check: ok"
