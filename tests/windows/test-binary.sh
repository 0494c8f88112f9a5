# The built executable: what it imports and which resources it carries.

imports=$(x86_64-w64-mingw32-objdump -p "$BUILD/morvane.scr" | awk '/DLL Name:/ { print toupper($3) }' | sort | tr '\n' ' ')
unexpected=""
for dll in $imports; do
  case $dll in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|OPENGL32.DLL|GLU32.DLL|MSVCRT.DLL) ;;
    *) unexpected="$unexpected $dll" ;;
  esac
done
check "imports only system DLLs (found: $imports)" test -z "$unexpected"
for dll in OPENGL32.DLL GLU32.DLL ADVAPI32.DLL; do
  check "imports $dll" grep -q "$dll" <<<"$imports"
done

script=$(x86_64-w64-mingw32-windres -i "$BUILD/morvane.scr" -O rc 2>/dev/null)
for name in JPEG_MORVANE_RGB JPEG_MORVANE_MASK LOGO_MASK; do
  check "carries the picture $name" grep -q "^\"$name\" RCDATA" <<<"$script"
done
check "string 1 is the saver's description" grep -q '^  1, "Morvane screen saver"' <<<"$script"
dialog=$(sed -n '/^104 DIALOG/,/^END/p' <<<"$script")
check "dialog 104 has the template's frame" test "$(head -n4 <<<"$dialog")" = '104 DIALOG 0, 0, 228, 102
STYLE 0x80c800c0
CAPTION "Config dialog"
FONT 8, "MS Sans Serif"'
controls=$(grep CONTROL <<<"$dialog" | sed 's/^ *CONTROL "[^"]*", //')
expected='1, "BUTTON", 0x50010001, 172, 4, 50, 14
2, "BUTTON", 0x50010000, 172, 23, 50, 14
65535, "STATIC", 0x50020000, 7, 78, 100, 8
65535, "STATIC", 0x50020000, 7, 55, 53, 8
65535, "STATIC", 0x50020000, 7, 63, 49, 8
1001, "BUTTON", 0x50010003, 9, 14, 52, 10
65535, "STATIC", 0x50020000, 7, 34, 36, 8'
check "dialog 104 has the seven controls in template order" test "$controls" = "$expected"
check "the controls' texts" test "$(grep -o 'CONTROL "[^"]*"' <<<"$dialog" | cut -d'"' -f2 | tr '\n' '|')" = \
  'OK|Cancel|(c) 2026 Morvane developers|info@mrv.test|www.mrv.test|Use Mirrors|Version 1.0|'
icon_group=$(sed -n '/RT_GROUP_ICON/,/^END/p' <<<"$script")
check "icon group 1 exists" grep -q '^1 14 .*RT_GROUP_ICON' <<<"$icon_group"
check "icon group 1 holds two images" grep -q 'Has 2 elements' <<<"$icon_group"
# Each icon entry: width, height, colours and a pad byte, then planes and bits per pixel.
check "the icons are 32 x 32 with 16 colours" grep -qF '"\040\040\020\000", 1, 4,' <<<"$icon_group"
check "the icons are 16 x 16 with 16 colours" grep -qF '"\020\020\020\000", 1, 4,' <<<"$icon_group"
check "the manifest declares DPI awareness" grep -q 'dpiAware' <<<"$script"
check "the manifest asks for common controls 6" grep -q 'Microsoft.Windows.Common-Controls' <<<"$script"
check "carries version information" grep -q '^1 VERSIONINFO' <<<"$script"
read -r _ version4 <"$BUILD/version"
check "its file version is the build's version ($version4)" grep -q "VALUE \"FileVersion\", \"$version4\"" <<<"$script"

# What ships is stripped; its symbols are beside it, found through the debug link and its checksum.
size=$(stat -c %s "$BUILD/morvane.scr")
check "morvane.scr is under 1.0 MB ($size bytes)" test "$size" -lt 1000000
check "morvane.scr links to morvane.scr.debug, whose checksum matches" \
  grep -q 'Found separate debug info file: morvane.scr.debug' \
  <<<"$(cd "$BUILD" && x86_64-w64-mingw32-objdump --dwarf=links morvane.scr 2>&1)"
