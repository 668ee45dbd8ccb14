#!/usr/bin/env bash
# Builds the Debian package and checks it the way a distribution would:
# unpacked with dpkg-deb into a scratch root, lintian on the .deb, and the
# desktop entry and AppStream metadata through their validators, and the
# level hub's systemd unit through systemd-analyze.
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
echo "== the level hub's service"
UNIT=lib/systemd/system/tetherorb2-hub.service
for f in usr/games/tetherorb2-hub $UNIT etc/default/tetherorb2-hub; do
  [ -e "$ROOT/$f" ] || { echo "missing from the package: /$f"; exit 1; }
done
dpkg-deb --ctrl-tarfile "$DEB" | tar -xO ./conffiles | grep -qx /etc/default/tetherorb2-hub ||
  { echo "/etc/default/tetherorb2-hub is not a conffile"; exit 1; }
# systemd-analyze looks for the program where the unit names it: here, in the unpacked package.
sed "s|/usr/games/tetherorb2-hub|$ROOT/usr/games/tetherorb2-hub|" "$ROOT/$UNIT" > "$ROOT/tetherorb2-hub.service"
# It only warns about a line it cannot use, so any word from it fails the check.
said=$(systemd-analyze verify "$ROOT/tetherorb2-hub.service" 2>&1) || { echo "$said"; exit 1; }
[ -z "$said" ] || { echo "$said"; exit 1; }
# The sandbox stays tight: systemd's own exposure score, 0 (closed) to 10.
systemd-analyze security --offline=yes --threshold=20 "$ROOT/tetherorb2-hub.service" | tail -n 1
# The unit's command line, with the options file's values, is one the hub takes.
(set -a; . "$ROOT/etc/default/tetherorb2-hub"
 # shellcheck disable=SC2086
 "$ROOT/usr/games/tetherorb2-hub" serve --listen "$LISTEN" --db "$DB" --levels "$LEVELS" --solutions "$SOLUTIONS" \
   --web "$WEB" $OPTIONS --help > /dev/null)
echo "== lintian"
# Errors fail the check; warnings and notes are shown.
lintian --fail-on error --display-info "$DEB"
echo "package-check: ok"
