#!/bin/sh
# Installs the build into a staging folder (DESTDIR) and checks that every
# piece lands where a Linux desktop looks for it, and that the installed
# D-Bus service file starts the installed helper.
#   install_layout_test.sh BUILD_DIR PREFIX BINDIR LIBEXECDIR DATADIR MANDIR [app] [helper]
set -eu
build="$1" prefix="$2" bindir="$3" libexecdir="$4" datadir="$5" mandir="$6"
shift 6
with_app=no with_helper=no
for part in "$@"; do
  case "$part" in
    app) with_app=yes ;;
    helper) with_helper=yes ;;
  esac
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" >"$stage.log" 2>&1 || { cat "$stage.log"; rm -f "$stage.log"; exit 1; }
rm -f "$stage.log"
root="$stage$prefix"

failures=0
expect() {
  if [ ! -e "$root/$1" ]; then
    echo "FAIL: missing $prefix/$1"
    failures=$((failures + 1))
  fi
}
expect_executable() {
  expect "$1"
  if [ -e "$root/$1" ] && [ ! -x "$root/$1" ]; then
    echo "FAIL: $prefix/$1 is not executable"
    failures=$((failures + 1))
  fi
}

expect_executable "$bindir/brindle"
expect "$mandir/man1/brindle.1.gz"
expect "$datadir/doc/brindlewort/examples/wrap-example.swift"
for editor in vim emacs kate vscode pre-commit; do
  expect "$datadir/brindlewort/integrations/$editor/README.md"
done
expect "$datadir/brindlewort/integrations/vim/plugin/brindle.vim"
expect "$datadir/brindlewort/integrations/emacs/brindlewort.el"
expect "$datadir/brindlewort/integrations/vscode/tasks.json"
if [ -e "$root/$datadir/brindlewort/integrations/CMakeLists.txt" ]; then
  echo "FAIL: the build file of the integrations was installed"
  failures=$((failures + 1))
fi

if [ "$with_app" = yes ]; then
  expect_executable "$bindir/brindlewort"
  expect "$datadir/applications/com.kestrelloom.Brindlewort.desktop"
  expect "$datadir/metainfo/com.kestrelloom.Brindlewort.metainfo.xml"
  expect "$datadir/icons/hicolor/scalable/apps/com.kestrelloom.Brindlewort.svg"
  expect "$mandir/man1/brindlewort.1.gz"
  if ! ls "$root/$datadir/doc/brindlewort/"*.pdf >/dev/null 2>&1; then
    echo "FAIL: no user manual PDF in $prefix/$datadir/doc/brindlewort"
    failures=$((failures + 1))
  fi
fi

if [ "$with_helper" = yes ]; then
  expect_executable "$libexecdir/brindlewort-helper"
  service="$root/$datadir/dbus-1/services/com.kestrelloom.BrindlewortHelper.service"
  expect "$datadir/dbus-1/services/com.kestrelloom.BrindlewortHelper.service"
  if [ -e "$service" ]; then
    grep -q '^Name=com.kestrelloom.BrindlewortHelper$' "$service" \
      || { echo "FAIL: service file has the wrong bus name"; failures=$((failures + 1)); }
    exec_line=$(sed -n 's/^Exec=//p' "$service")
    if [ "$exec_line" != "$prefix/$libexecdir/brindlewort-helper" ]; then
      echo "FAIL: service file starts '$exec_line', not the installed helper $prefix/$libexecdir/brindlewort-helper"
      failures=$((failures + 1))
    fi
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "installed files:"
  (cd "$stage" && find . -type f | sort)
  exit 1
fi
echo "ok: install layout under $prefix"
