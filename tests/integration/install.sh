#!/usr/bin/env bash
# "cmake --install" into a fresh prefix: the program on PATH and among XScreenSaver's display modes,
# its XScreenSaver description, manual page and screensaver desktop entry, each where it belongs.
set -euo pipefail

build="$MORVANE_BUILD"
src="$MORVANE_SOURCE"
[ -x "$build/morvane" ] || { echo "install: $build/morvane is not built" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install: FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log" >&2; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

for program in bin/morvane libexec/xscreensaver/morvane; do
  [ -x "$prefix/$program" ] || fail "$program is missing or not executable"
  "$prefix/$program" --help | grep -q '^usage: morvane' || fail "the installed $program does not run"
  # The dialogs module is found from each installed copy (it says it has no display, not no module),
  # and GTK is not among the program's own libraries.
  message=$(DISPLAY='' "$prefix/$program" /c 2>&1)
  grep -q 'DISPLAY is not set' <<<"$message" || fail "the installed $program /c says: $message"
  ! ldd "$prefix/$program" | grep -q 'libgtk' || fail "the installed $program links GTK"
done

# Installed as they are in the source tree.
declare -A copies=(
  [share/xscreensaver/config/morvane.xml]=resources/morvane.xml
  [share/man/man6/morvane.6]=resources/morvane.6
  [share/applications/screensavers/morvane.desktop]=resources/morvane.desktop
)
for installed in "${!copies[@]}"; do
  [ -f "$prefix/$installed" ] || fail "$installed is missing"
  cmp -s "$prefix/$installed" "$src/${copies[$installed]}" || fail "$installed differs from ${copies[$installed]}"
done

# The manual page is found and shown by man from the installed tree, without formatting warnings.
warnings=$(MANPATH="$prefix/share/man" MANWIDTH=80 man --warnings 6 morvane 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "man reports: $warnings"
MANPATH="$prefix/share/man" MANWIDTH=80 man 6 morvane 2>/dev/null | grep -q -- '-no-mirrors' ||
  fail "man 6 morvane does not show the installed page"

echo "install: all passed; installed files:"
(cd "$prefix" && find . -type f | sort | sed 's/^\.\//  /')
