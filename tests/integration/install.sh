#!/usr/bin/env bash
# "cmake --install" with the default prefix, staged under DESTDIR: the program on PATH, the display
# mode in the hosts' hack folder, the XScreenSaver description in XScreenSaver's own folder (both
# absolute, outside the prefix), the manual page, and a screensaver desktop entry whose Exec names
# the installed display mode.
set -euo pipefail

build="$MORVANE_BUILD"
src="$MORVANE_SOURCE"
[ -x "$build/morvane" ] || { echo "install: $build/morvane is not built" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "install: FAIL: $*" >&2; exit 1; }

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
DESTDIR="$stage" cmake --install "$build" >"$stage.log" 2>&1 || { cat "$stage.log" >&2; rm -f "$stage.log"; fail "cmake --install failed"; }
rm -f "$stage.log"
root="$stage$prefix"

for program in "$root/bin/morvane" "$stage/usr/libexec/xscreensaver/morvane"; do
  [ -x "$program" ] || fail "${program#"$stage"} is missing or not executable"
  "$program" --help | grep -q '^usage: morvane' || fail "the installed ${program#"$stage"} does not run"
  ! ldd "$program" | grep -q 'libgtk' || fail "the installed ${program#"$stage"} links GTK"
done
# The dialogs module is found from the installed program (it says it has no display, not no module).
# The copy in the hosts' folder looks for it under its own prefix, which this staged install lacks.
message=$(DISPLAY='' "$root/bin/morvane" /c 2>&1)
grep -q 'DISPLAY is not set' <<<"$message" || fail "the installed bin/morvane /c says: $message"

# Nowhere else above the program: a copy two folders below a planted module folder (as under /tmp,
# where any user may make one) leaves the planted module alone, constructor and all.
plant="$stage/plant"
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
mkdir -p "$plant/x/y" "$plant/$libdir/morvane"
cp "$root/bin/morvane" "$plant/x/y/"
printf '#include <fcntl.h>\n__attribute__((constructor)) static void planted(void) { creat("%s", 0600); }\n' \
  "$plant/ran" >"$plant/planted.c"
cc -shared -fPIC -o "$plant/$libdir/morvane/morvane-gtk.so" "$plant/planted.c"
DISPLAY='' "$plant/x/y/morvane" /c >/dev/null 2>&1 || true
[ ! -e "$plant/ran" ] || fail "a copy of the program ran a module planted in the folder two above it"

declare -A copies=(
  ["$stage/usr/share/xscreensaver/config/morvane.xml"]=resources/morvane.xml
  ["$root/share/man/man6/morvane.6"]=resources/morvane.6
)
for installed in "${!copies[@]}"; do
  [ -f "$installed" ] || fail "${installed#"$stage"} is missing"
  cmp -s "$installed" "$src/${copies[$installed]}" || fail "${installed#"$stage"} differs from ${copies[$installed]}"
done

desktop="$root/share/applications/screensavers/morvane.desktop"
[ -f "$desktop" ] || fail "${desktop#"$stage"} is missing"
out=$(desktop-file-validate "$desktop" 2>&1 | grep -v 'hint:' || true)
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Categories=Screensaver;' "$desktop" || fail "the desktop entry is not in the Screensaver category"
grep -qx 'Exec=/usr/libexec/xscreensaver/morvane --root' "$desktop" ||
  fail "the desktop entry runs $(grep '^Exec=' "$desktop"), not the installed display mode"

# The manual page is found and shown by man from the installed tree, without formatting warnings.
warnings=$(MANPATH="$root/share/man" MANWIDTH=80 man --warnings 6 morvane 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "man reports: $warnings"
MANPATH="$root/share/man" MANWIDTH=80 man 6 morvane 2>/dev/null | grep -q -- '-no-mirrors' ||
  fail "man 6 morvane does not show the installed page"

echo "install: all passed; installed files:"
(cd "$stage" && find . -type f | sort | sed 's/^\.\//  \//')
