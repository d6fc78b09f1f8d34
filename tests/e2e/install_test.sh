#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what the desktop gets: the programs
# with their data files, the menu entry (checked by desktop-file-validate), the icon at each size
# and the layer-project file type. Every file type the entry offers must be one the installed
# program opens. Exits 77 (reported by ctest as skipped) after the other checks when
# desktop-file-validate is not installed.
#
#   install_test.sh CMAKE BUILD_FOLDER
set -u

cmake="$1"
build="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1; then
  cat "$prefix/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

bin="$prefix/bin"
for program in mirasketch mirasketch-cli; do
  [ -x "$bin/$program" ] || fail "$program is not installed as a program"
done
for data in brush.bmp Ruler.dat korvel.html; do
  [ -s "$bin/$data" ] || fail "$data is not installed beside the program"
done
ls "$bin/korvel-images/"*.png >/dev/null 2>&1 || fail "the help's pictures are not installed"

# Each icon is a PNG file of its size: the width and height of its header.
for size in 16 32 48 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/mirasketch.png"
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  header="$(od -An -tx1 -j12 -N12 "$icon" | tr -d ' \n')"
  expected="$(printf '49484452%08x%08x' "$size" "$size")"
  [ "$header" = "$expected" ] || fail "the ${size}x${size} icon is not a ${size}-pixel PNG ($header)"
done

mime="$prefix/share/mime/packages/mirasketch.xml"
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" || fail "the MIME type file is not well-formed XML"
else
  echo "note: xmllint is not installed; the MIME type file is only searched"
fi
grep -q 'type="application/x-mirasketch-kvl"' "$mime" && grep -q 'pattern="\*\.kvl"' "$mime" ||
  fail "the MIME type file does not declare application/x-mirasketch-kvl for *.kvl"
if command -v update-mime-database >/dev/null; then
  # The database built from the package alone knows the type by its glob.
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 ||
    fail "update-mime-database refused the MIME type file"
  grep -q '^application/x-mirasketch-kvl:\*\.kvl$' "$prefix/share/mime/globs" ||
    fail "the built MIME database has no *.kvl glob"
fi

# The entry starts the installed program, shows the installed icon, and offers only files the
# program opens: a sample of each type is made and opened by the installed command-line tool.
entry="$prefix/share/applications/mirasketch.desktop"
[ -f "$entry" ] || fail "no desktop entry"
grep -qx 'Exec=mirasketch %f' "$entry" || fail "the entry does not start mirasketch with its file"
grep -qx 'Icon=mirasketch' "$entry" || fail "the entry does not show the mirasketch icon"
"$bin/mirasketch-cli" mkkvl "$prefix/sample.kvl" 8 8 >/dev/null || fail "mkkvl"
types="$(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' ')"
[ -n "$types" ] || fail "the entry lists no file types"
for type in $types; do
  case "$type" in
    application/x-mirasketch-kvl) extension=kvl ;;
    image/bmp) extension=bmp ;;
    image/jpeg) extension=jpg ;;
    image/png) extension=png ;;
    *)
      fail "the entry offers $type, which the program does not open"
      continue
      ;;
  esac
  sample="$prefix/sample.$extension"
  [ -f "$sample" ] || "$bin/mirasketch-cli" convert "$prefix/sample.kvl" "$sample" >/dev/null
  "$bin/mirasketch-cli" convert "$sample" "$prefix/opened.kvl" >/dev/null ||
    fail "the installed program does not open a $type file"
done

[ "$failed" -eq 0 ] || exit 1
if ! command -v desktop-file-validate >/dev/null; then
  echo "SKIP: desktop-file-validate is not installed (Debian package desktop-file-utils)"
  exit 77
fi
desktop-file-validate "$entry" || exit 1
echo "PASS: installed into $prefix"
