#!/bin/sh
# Builds the .deb the Debian way (dpkg-buildpackage with debian/), checks it
# with lintian, installs it on this machine, and checks the installed files
# alone: `brindle wrap` on the shipped example, and an auto-correction
# through the installed helper, started by a private session bus that knows
# only the installed services folder.
#
#   scripts/package-test.sh [OUTPUT_DIR]
#
# The build runs on a copy of the work tree (committed and uncommitted files
# alike) in a scratch folder, because dpkg-buildpackage writes its results
# next to the source tree: neither the work tree nor its parent is touched,
# and a second run starts as clean as the first. OUTPUT_DIR, when given,
# receives the built .deb files, the .changes and the .buildinfo.
#
# This changes the system (it installs, then purges, the package), so it is
# kept out of the ordinary test suite. Runs as root, or uses sudo.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
output="${1:-}"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

work=$(mktemp -d)
chmod 755 "$work"
previously_installed=no
dpkg-query -W -f='${Status}' brindlewort 2>/dev/null | grep -q "install ok installed" \
  && previously_installed=yes
cleanup() {
  if [ "$previously_installed" = no ]; then
    $SUDO env DEBIAN_FRONTEND=noninteractive dpkg --purge brindlewort >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== building the package"
# The files git knows of plus new ones it does not ignore: what a clean
# clone with the current edits would hold, without build folders.
mkdir "$work/package" "$work/package/brindlewort"
if git -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$repo" ls-files -z --cached --others --exclude-standard \
    | (cd "$repo" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) \
    | tar -C "$repo" --null -T - -cf - | tar -C "$work/package/brindlewort" -xf -
else
  tar -C "$repo" --exclude='./build*' -cf - . | tar -C "$work/package/brindlewort" -xf -
fi
# The tests already ran in the same CI run; the package build does not
# build them (debian/rules), and nocheck says so to debhelper too.
if ! (cd "$work/package/brindlewort" \
      && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc -b) \
    >"$work/build.log" 2>&1; then
  tail -n 60 "$work/build.log"
  echo "FAIL: dpkg-buildpackage failed (the last 60 lines of its log are above)"
  exit 1
fi
changes=$(ls "$work"/package/brindlewort_*.changes)
deb=$(ls "$work"/package/brindlewort_*.deb)
echo "built $(basename "$deb")"
if ls "$work"/package/brindlewort-dbgsym_*.deb >/dev/null 2>&1; then
  pass "a -dbgsym package holds the debugging symbols"
else
  fail "no brindlewort-dbgsym package was built"
fi
if [ -n "$output" ]; then
  mkdir -p "$output"
  cp "$work"/package/*.deb "$work"/package/*.changes "$work"/package/*.buildinfo "$output/"
fi

echo "== lintian"
# Every tag is shown (info and pedantic ones, overridden ones, each with its
# explanation); errors and warnings fail, and so does any other tag left
# neither fixed nor overridden.
if lintian --display-info --pedantic --info --show-overrides --fail-on error,warning \
    "$changes" >"$work/lintian.log" 2>&1; then
  pass "lintian --pedantic: no errors, no warnings"
else
  fail "lintian reports errors or warnings"
fi
if grep -E '^[EWIPX]: ' "$work/lintian.log" >/dev/null; then
  sed 's/^/  /' "$work/lintian.log"
  fail "lintian has tags that are neither fixed nor overridden"
else
  pass "lintian: every info and pedantic tag fixed or overridden"
  # How often each overridden tag came up; the reasons are in debian/.
  grep '^O: ' "$work/lintian.log" | awk '{ print $3 }' | sort | uniq -c | sed 's/^ */  overridden: /'
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6core6 libqt6dbus6 libicu72 libenchant-2-2 dbus; do
  case ", $depends," in
    *", $needed "* | *", $needed,"*) pass "depends on $needed" ;;
    *) fail "the package does not depend on $needed" ;;
  esac
done

echo "== installing"
cp "$deb" "$work/"
if ! $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "$work/$(basename "$deb")" >"$work/apt.log" 2>&1; then
  # Stale package lists: refresh once and try again.
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "$work/$(basename "$deb")" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
fi
pass "installed $(dpkg-query -W -f='${Package} ${Version}' brindlewort)"

# From here on only installed files are used: a clean environment, no build
# tree on PATH, and a working folder outside the repository.
cd "$work"
mkdir -p home config
run_clean() {
  env -i HOME="$work/home" XDG_CONFIG_HOME="$work/config" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}

echo "== brindle"
if [ "$(run_clean sh -c 'command -v brindle')" = /usr/bin/brindle ]; then
  pass "brindle is /usr/bin/brindle"
else
  fail "brindle is not installed as /usr/bin/brindle"
fi
example=/usr/share/doc/brindlewort/examples/wrap-example.swift
if run_clean brindle wrap --width 60 "$example" >wrapped.swift 2>wrap.err; then
  too_long=$(grep '//' wrapped.swift | awk 'length($0) > 60' | head -n 1)
  if [ -z "$too_long" ] && ! cmp -s wrapped.swift "$example"; then
    pass "brindle wrap --width 60 wraps the installed example"
  else
    fail "brindle wrap left a comment line over 60 characters: $too_long"
  fi
else
  fail "brindle wrap failed: $(cat wrap.err)"
fi
if run_clean brindle wrap --check --width 60 wrapped.swift >/dev/null; then
  pass "the wrapped example passes brindle wrap --check"
else
  fail "brindle wrap --check rejects its own output"
fi
# The language server answers a whole session: initialize, shutdown, exit.
python3 - >lsp-session.bin <<'EOF'
import json, sys
for message in ({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}},
                {"jsonrpc": "2.0", "method": "initialized", "params": {}},
                {"jsonrpc": "2.0", "id": 2, "method": "shutdown"},
                {"jsonrpc": "2.0", "method": "exit"}):
    body = json.dumps(message).encode()
    sys.stdout.buffer.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
EOF
if run_clean brindle lsp <lsp-session.bin >lsp-answer.bin 2>lsp.err \
    && grep -q "\"documentRangeFormattingProvider\"" lsp-answer.bin; then
  pass "brindle lsp answers initialize and shuts down cleanly"
else
  fail "brindle lsp: $(head -c 300 lsp-answer.bin) $(tail -n 3 lsp.err)"
fi
for page in brindle.1 brindlewort.1 brindlewort-helper.8; do
  if [ -f "/usr/share/man/man${page##*.}/$page.gz" ]; then pass "man page $page"; else fail "no man page $page"; fi
done
if grep -q '^License: LicenseRef-proprietary$' /usr/share/doc/brindlewort/copyright 2>/dev/null; then
  pass "the copyright file says that no licence is granted"
else
  fail "no /usr/share/doc/brindlewort/copyright stating the licence"
fi

echo "== auto-correction through the installed helper"
cat >session.conf <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <servicedir>/usr/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
printf '//teh value is recieved   \nint x;\n' >lint-input.txt
printf '// the value is received\nint x;\n' >lint-expected.txt

# The service itself, asked directly, as any client would.
if run_clean timeout 60 dbus-run-session --config-file="$work/session.conf" -- \
    dbus-send --session --print-reply=literal --reply-timeout=30000 \
    --dest=com.kestrelloom.BrindlewortHelper /com/kestrelloom/BrindlewortHelper \
    com.kestrelloom.BrindlewortHelperProtocol.autoCorrectString \
    "string:$(cat lint-input.txt)" >dbus-reply.txt 2>dbus.err; then
  if grep -q '// the value is received' dbus-reply.txt; then
    pass "the bus started the installed helper and it corrected the text"
  else
    fail "the installed helper answered '$(cat dbus-reply.txt)'"
  fi
else
  fail "no answer from the installed helper: $(cat dbus.err)"
fi

# The same through brindle's client, when this build has `brindle lint`.
if run_clean brindle lint --help >/dev/null 2>&1; then
  if run_clean timeout 60 dbus-run-session --config-file="$work/session.conf" -- \
      brindle lint <lint-input.txt >lint-output.txt 2>lint.err \
      && cmp -s lint-output.txt lint-expected.txt; then
    pass "brindle lint corrected the text through the installed helper"
  else
    fail "brindle lint gave '$(cat lint-output.txt)' ($(cat lint.err))"
  fi
fi

echo "== desktop files"
if [ -x /usr/bin/brindlewort ]; then
  if run_clean desktop-file-validate /usr/share/applications/com.kestrelloom.Brindlewort.desktop; then
    pass "installed desktop file is valid"
  else
    fail "installed desktop file is invalid"
  fi
  if run_clean appstreamcli validate --no-net \
      /usr/share/metainfo/com.kestrelloom.Brindlewort.metainfo.xml >/dev/null; then
    pass "installed metainfo is valid"
  else
    fail "installed metainfo is invalid"
  fi
  if ls /usr/share/doc/brindlewort/*.pdf >/dev/null 2>&1; then
    pass "user manual installed"
  else
    fail "no user manual PDF in /usr/share/doc/brindlewort"
  fi
  # Answered before any window exists: run_clean leaves no DISPLAY.
  if version="$(run_clean brindlewort --version 2>&1)" && [ "${version#Brindlewort }" != "$version" ]; then
    pass "brindlewort --version needs no display: $version"
  else
    fail "brindlewort --version without a display: $version"
  fi
  if [ -f /usr/share/icons/hicolor/scalable/apps/com.kestrelloom.Brindlewort.svg ]; then
    pass "the window icon is installed"
  else
    fail "no icon in /usr/share/icons/hicolor/scalable/apps"
  fi
  # The window comes up and keeps running until it is closed: that shows
  # the installed program finds its libraries and Qt plugins.
  status=0
  run_clean QT_QPA_PLATFORM=offscreen timeout 5 brindlewort >app.log 2>&1 || status=$?
  if [ "$status" -eq 124 ]; then
    pass "brindlewort starts and runs"
  else
    fail "brindlewort exited with status $status: $(tail -n 5 app.log)"
  fi
else
  fail "the package has no /usr/bin/brindlewort"
fi
if [ -f /usr/share/brindlewort/integrations/README.md ]; then
  pass "editor integrations installed"
else
  fail "no editor integrations in /usr/share/brindlewort/integrations"
fi

echo "package test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
