#!/bin/sh
# Checks one kind of file that the package ships with the tool a desktop
# uses to read it; any complaint (warnings included) fails the test.
#   shipped_files_test.sh desktop FILE | metainfo FILE | man FILE... | icon FILE
#   shipped_files_test.sh ids DESKTOP METAINFO ICON
#   shipped_files_test.sh release CHANGELOG METAINFO MAN_PAGE PROJECT_VERSION
set -eu
kind="$1"
shift
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() {
  echo "FAIL: $*"
  cat "$log"
  exit 1
}

case "$kind" in
  desktop)
    desktop-file-validate "$1" >"$log" 2>&1 && [ ! -s "$log" ] || fail "desktop-file-validate complains about $1" ;;
  metainfo)
    appstreamcli validate --no-net --explain "$1" >"$log" 2>&1 || fail "appstreamcli rejects $1"
    ! grep -E '^[EW]:' "$log" || fail "appstreamcli warns about $1"
    # Software centres show the description: it names what the program reads
    # and the language server, not only // comments.
    for phrase in 'language server' '/\* \*/' '#' 'docstrings'; do
      grep -q -- "$phrase" "$1" || fail "the description of $1 does not mention $phrase"
    done ;;
  man)
    for page in "$@"; do
      groff -man -Tutf8 -ww -z "$page" >"$log" 2>&1 && [ ! -s "$log" ] || fail "groff warns about $page"
      grep -q '^\.SH NAME' "$page" || fail "$page has no NAME section"
      ! grep -n '@[A-Z_]*@' "$page" || fail "$page has an unfilled placeholder"
    done ;;
  icon)
    xmllint --noout "$1" >"$log" 2>&1 || fail "$1 is not well-formed XML"
    grep -q '<svg[^>]*viewBox=' "$1" || fail "$1 has no viewBox, so it cannot scale" ;;
  ids)
    # One id across the desktop file, the metainfo and the icon, or software
    # centres show the program without its icon or launcher.
    id=$(basename "$1" .desktop)
    grep -q "^Icon=$(basename "$3" .svg)\$" "$1" || fail "Icon= does not name $3"
    grep -q "^Exec=brindlewort\$" "$1" || fail "desktop file does not start brindlewort"
    grep -q "<id>$id</id>" "$2" || fail "metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$2" || fail "metainfo does not launch $id.desktop" ;;
  release)
    # The release the changelog names first, read by dpkg's own parser, is
    # the one the metainfo and the man pages announce.
    version=$(dpkg-parsechangelog -l "$1" -S Version)
    [ "${version%-*}" = "$4" ] || fail "$1 is at version $version, the project at $4"
    date=$(date -u -d "$(dpkg-parsechangelog -l "$1" -S Date)" +%Y-%m-%d)
    grep -q "<release version=\"$4\" date=\"$date\">" "$2" || fail "$2 does not announce $4 of $date"
    month=$(LC_ALL=C date -u -d "$date" +'%B %Y')
    grep -q "^\.TH .* \"$month\" \"Brindlewort $4\"" "$3" || fail "$3 is not dated $month" ;;
  *)
    fail "unknown kind $kind" ;;
esac
echo "ok: $kind"
