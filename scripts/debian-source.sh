#!/usr/bin/env bash
# Unpacks one Debian source package (bookworm main) into DEST. The deb-src
# entry that apt-get source needs exists only while it runs.
#
#   bash scripts/debian-source.sh PACKAGE=VERSION DEST
set -euo pipefail
if (($# != 2)); then
  echo "usage: $0 PACKAGE=VERSION DEST" >&2
  exit 2
fi
package=$1
dest=$2
mkdir -p "$dest"

# A name of this run's own: checkouts running at once must not remove each
# other's entry in the middle of apt-get source.
src_list=/etc/apt/sources.list.d/lumisk-debian-src-$$.sources
trap 'rm -f "$src_list"' EXIT
cat >"$src_list" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt-get update -qq
(cd "$dest" && apt-get source -qq "$package") >"$dest/source.log" 2>&1 \
  || { cat "$dest/source.log" >&2; exit 1; }
