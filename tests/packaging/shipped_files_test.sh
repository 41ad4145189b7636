#!/bin/sh
# Checks one kind of file that the package ships with the tool a desktop
# uses to read it; any complaint (warnings included) fails the test.
#   shipped_files_test.sh desktop FILE | metainfo FILE | man FILE... | icon FILE
#   shipped_files_test.sh ids DESKTOP METAINFO ICON
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
    desktop-file-validate "$1" >"$log" 2>&1 || fail "desktop-file-validate rejects $1"
    [ ! -s "$log" ] || fail "desktop-file-validate complains about $1"
    ;;
  metainfo)
    appstreamcli validate --no-net --explain "$1" >"$log" 2>&1 || fail "appstreamcli rejects $1"
    if grep -E '^[EW]:' "$log"; then fail "appstreamcli warns about $1"; fi
    ;;
  man)
    for page in "$@"; do
      groff -man -Tutf8 -ww -z "$page" >"$log" 2>&1 || fail "groff cannot format $page"
      [ ! -s "$log" ] || fail "groff warns about $page"
      grep -q '^\.SH NAME' "$page" || fail "$page has no NAME section"
      if grep -n '@[A-Z_]*@' "$page" >"$log"; then fail "$page has an unfilled placeholder"; fi
    done
    ;;
  icon)
    xmllint --noout "$1" >"$log" 2>&1 || fail "$1 is not well-formed XML"
    grep -q '<svg[^>]*viewBox=' "$1" || fail "$1 has no viewBox, so it cannot scale"
    ;;
  ids)
    # The desktop file, the metainfo and the icon must agree on one id, or
    # software centres show the program without its icon or launcher.
    desktop="$1" metainfo="$2" icon="$3"
    id=$(basename "$desktop" .desktop)
    grep -q "^Icon=$(basename "$icon" .svg)\$" "$desktop" || fail "Icon= does not name $icon"
    grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
      || fail "metainfo does not launch $id.desktop"
    grep -q "^Exec=brindlewort\$" "$desktop" || fail "desktop file does not start brindlewort"
    ;;
  *)
    echo "unknown kind $kind" >&2
    exit 2
    ;;
esac
echo "ok: $kind"
