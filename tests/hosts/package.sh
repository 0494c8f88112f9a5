#!/usr/bin/env bash
# package.sh install: builds the Debian package from the build folder, which lintian must pass
# without errors or warnings, installs it with apt-get, checks that every host finds what it needs
# where it looks, and creates the unprivileged user the hosts run as.
# package.sh remove: removes the package again; no file of it may be left behind.
set -euo pipefail
: "${MORVANE_BUILD:?}" "${MORVANE_SOURCE:?}"
HOST_USER=morvane-test
state="$MORVANE_BUILD/hosts-package"
fail() { echo "package: FAIL: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "package: skipped: installing a package needs root"; exit 77; }
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 "$@" >"$state/apt.log" 2>&1 ||
  fail "apt-get $*: $(tail -n 5 "$state/apt.log")"; }

case "${1:-}" in
install)
  rm -rf "$state"
  mkdir -p "$state"
  deb=$("$MORVANE_SOURCE/tools/make-deb" "$MORVANE_BUILD" "$state") || fail "make-deb failed"
  lintian --fail-on error,warning "$deb" >"$state/lintian.log" 2>&1 || fail "lintian: $(cat "$state/lintian.log")"
  apt_get install --reinstall "$deb"
  dpkg-query -L morvane >"$state/files"
  for program in /usr/bin/morvane /usr/libexec/xscreensaver/morvane; do
    "$program" --help 2>&1 | grep -q '^usage: morvane' || fail "the installed $program does not run"
    # Each copy finds the dialogs module: it reports the missing display, not a missing module.
    message=$(DISPLAY='' "$program" /c 2>&1)
    grep -q 'DISPLAY is not set' <<<"$message" || fail "the installed $program /c says: $message"
  done
  [ -f /usr/share/xscreensaver/config/morvane.xml ] || fail "XScreenSaver's settings would not find morvane.xml"
  man -w 6 morvane | grep -qx /usr/share/man/man6/morvane.6.gz || fail "man 6 morvane is not the package's page"
  # MATE and Xfce run a theme only when its Exec names a program in one of their hack folders.
  desktop=/usr/share/applications/screensavers/morvane.desktop
  out=$(desktop-file-validate "$desktop" 2>&1 | grep -v 'hint:' || true)
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  [ "$exec_line" = "/usr/libexec/xscreensaver/morvane --root" ] || fail "the theme runs \"$exec_line\""
  id "$HOST_USER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$HOST_USER"
  echo "package: $deb installed: $(grep -c . "$state/files") paths"
  ;;
remove)
  [ -f "$state/files" ] || fail "package.sh install did not run"
  apt_get remove morvane
  status=$(dpkg-query -W -f='${db:Status-Status}' morvane 2>/dev/null || true)
  [ -z "$status" ] || [ "$status" = not-installed ] || fail "dpkg still lists morvane as $status"
  # Folders the package shares with others (/usr, the hosts' folders) stay; its own files go.
  left=""
  while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    [ -e "$path" ] || [ -L "$path" ] && left="$left $path"
  done <"$state/files"
  [ ! -e /usr/share/doc/morvane ] || left="$left /usr/share/doc/morvane"
  [ -z "$left" ] || fail "apt-get remove left behind:$left"
  userdel "$HOST_USER" 2>/dev/null || true
  rm -rf "$state"
  echo "package: removed, nothing left behind"
  ;;
*) fail "usage: package.sh install|remove" ;;
esac
