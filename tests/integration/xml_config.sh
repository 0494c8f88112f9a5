#!/usr/bin/env bash
# The XScreenSaver description (resources/morvane.xml): well-formed, shaped as
# XScreenSaver's own files are, every option one the program accepts and the manual page documents.
# Validates against XScreenSaver's schema when one is installed (or named in $XSS_SCHEMA).
set -euo pipefail

src="$MORVANE_SOURCE"
bin="$MORVANE_BUILD/morvane"
xml="$src/resources/morvane.xml"
man="$src/resources/morvane.6"

fail() { echo "xml_config: FAIL: $*" >&2; exit 1; }
count() { xmllint --xpath "count($1)" "$xml"; }
value() { xmllint --xpath "string($1)" "$xml"; }

xmllint --noout "$xml" || fail "morvane.xml is not well-formed"

schema="${XSS_SCHEMA:-}"
for candidate in /usr/share/xscreensaver/config/xss.xsd /usr/share/xscreensaver/xss.xsd; do
  [ -z "$schema" ] && [ -f "$candidate" ] && schema=$candidate
done
if [ -n "$schema" ]; then
  xmllint --noout --schema "$schema" "$xml" || fail "morvane.xml does not validate against $schema"
else
  echo "xml_config: no XScreenSaver schema installed; checking the structure only"
fi

[ "$(count '/screensaver')" = 1 ] || fail "the root element is not <screensaver>"
[ "$(value '/screensaver/@name')" = morvane ] || fail "the name is not \"morvane\""
[ -n "$(value '/screensaver/@_label')" ] || fail "no _label"
[ "$(count '/screensaver/command')" = 1 ] || fail "not exactly one <command>"
[ "$(value '/screensaver/command/@arg')" = "--root" ] || fail "the command is not \"--root\""
[ "$(value '/screensaver/@gl')" = yes ] || fail "the saver is not marked gl=\"yes\""
[ -n "$(value 'normalize-space(/screensaver/_description)')" ] || fail "no _description"
unknown=$(count '/screensaver/*[not(self::command or self::boolean or self::number or self::select or
  self::string or self::file or self::hgroup or self::vgroup or self::_description or
  self::xscreensaver-updater or self::video)]')
[ "$unknown" = 0 ] || fail "$unknown elements XScreenSaver does not know"

# A boolean adds one argument in one of its states: exactly one of arg-set and arg-unset.
[ "$(count '//boolean[not(@id) or not(@_label)]')" = 0 ] || fail "a boolean without id or _label"
[ "$(count '//boolean[(@arg-set and @arg-unset) or (not(@arg-set) and not(@arg-unset))]')" = 0 ] ||
  fail "a boolean without exactly one of arg-set and arg-unset"
# The mirror option in its default (checked) state adds nothing: the stored setting decides.
[ "$(value '//boolean[@id="mirrors"]/@arg-unset')" = "--no-mirrors" ] || fail "the mirrors option does not unset to --no-mirrors"
[ "$(count '//boolean[@id="mirrors"]/@arg-set')" = 0 ] || fail "the mirrors option adds an argument by default"

# Shaped like the configuration files XScreenSaver installs, where there are any to compare with.
installed=$(ls /usr/share/xscreensaver/config/*.xml 2>/dev/null | head -n1 || true)
if [ -n "$installed" ]; then
  for attribute in name _label; do
    [ "$(xmllint --xpath "count(/screensaver/@$attribute)" "$installed")" = 1 ] ||
      fail "$installed has no $attribute: the comparison no longer holds"
  done
  [ "$(xmllint --xpath 'string(/screensaver/command/@arg)' "$installed")" = "--root" ] ||
    fail "$installed does not start its hack with --root: the comparison no longer holds"
fi

# Every argument the description can produce is one the program takes, and the manual documents.
args=$(xmllint --xpath '//command/@arg | //@arg-set | //@arg-unset' "$xml" | sed 's/[a-z-]*="\([^"]*\)"/\1\n/g' | tr -s ' \n' '\n')
[ -n "$args" ] || fail "no arguments found"
for arg in $args; do
  # XScreenSaver 6 writes every option with two dashes; the manual page lists them with one.
  [ "${arg#--}" != "$arg" ] || fail "$arg is not in the two-dash form"
  grep -q "^\.B.* $(printf '%s' "${arg#-}" | sed 's/-/\\\\-/g')\b" "$man" || fail "the manual page does not document $arg"
done
if [ -x "$bin" ]; then
  rc=0
  # shellcheck disable=SC2086
  "$bin" $args --help >/dev/null 2>"$MORVANE_BUILD/xml_config.err" || rc=$?
  [ "$rc" -eq 0 ] && [ ! -s "$MORVANE_BUILD/xml_config.err" ] ||
    fail "the program refuses the options $(echo $args): $(cat "$MORVANE_BUILD/xml_config.err")"
  # The check can see a refusal: an unknown option beside -root is one.
  "$bin" --root --no-such-option --help >/dev/null 2>"$MORVANE_BUILD/xml_config.err" || true
  [ -s "$MORVANE_BUILD/xml_config.err" ] || fail "an unknown option went unnoticed: the check above proves nothing"
  rm -f "$MORVANE_BUILD/xml_config.err"
fi

echo "xml_config: all passed"
