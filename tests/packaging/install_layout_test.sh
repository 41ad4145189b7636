#!/bin/sh
# Installs the build into a staging folder (DESTDIR) and checks that every
# piece lands where a Linux desktop looks for it, and that the installed
# D-Bus service file starts the installed helper.
#   install_layout_test.sh BUILD_DIR PREFIX BINDIR LIBEXECDIR DATADIR MANDIR [app] [helper]
set -eu
build="$1" prefix="$2" bindir="$3" libexecdir="$4" datadir="$5" mandir="$6"
shift 6
parts=" $* "

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" >"$stage/install.log" 2>&1 || { cat "$stage/install.log"; exit 1; }
root="$stage$prefix"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# expect [-x] PATH...: each path exists under the prefix (-x: and runs).
expect() {
  executable=no
  [ "$1" = -x ] && { executable=yes; shift; }
  for path in "$@"; do
    [ -e "$root/$path" ] || fail "missing $prefix/$path"
    [ "$executable" = no ] || [ -x "$root/$path" ] || fail "not executable: $prefix/$path"
  done
}

integrations="$datadir/brindlewort/integrations"
expect -x "$bindir/brindle"
expect "$mandir/man1/brindle.1.gz" "$datadir/doc/brindlewort/examples/wrap-example.swift" \
  "$integrations/vim/plugin/brindle.vim" "$integrations/emacs/brindlewort.el" "$integrations/vscode/tasks.json"
for editor in vim emacs kate vscode pre-commit; do
  expect "$integrations/$editor/README.md"
done
[ ! -e "$root/$integrations/CMakeLists.txt" ] || fail "the build file of the integrations was installed"

if [ "${parts#* app }" != "$parts" ]; then
  expect -x "$bindir/brindlewort"
  expect "$datadir/applications/com.kestrelloom.Brindlewort.desktop" "$mandir/man1/brindlewort.1.gz" \
    "$datadir/metainfo/com.kestrelloom.Brindlewort.metainfo.xml" \
    "$datadir/icons/hicolor/scalable/apps/com.kestrelloom.Brindlewort.svg"
  ls "$root/$datadir/doc/brindlewort/"*.pdf >/dev/null 2>&1 || fail "no user manual PDF in $datadir/doc/brindlewort"
fi

if [ "${parts#* helper }" != "$parts" ]; then
  expect -x "$libexecdir/brindlewort-helper"
  expect "$mandir/man8/brindlewort-helper.8.gz"
  service="$root/$datadir/dbus-1/services/com.kestrelloom.BrindlewortHelper.service"
  grep -q '^Name=com.kestrelloom.BrindlewortHelper$' "$service" || fail "service file missing or wrong bus name"
  grep -qx "Exec=$prefix/$libexecdir/brindlewort-helper" "$service" || fail "service file does not start the installed helper"
fi

if [ "$failures" -ne 0 ]; then
  echo "installed files:"
  (cd "$stage" && find . -type f ! -name install.log | sort)
  exit 1
fi
echo "ok: install layout under $prefix"
