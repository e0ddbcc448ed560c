#!/usr/bin/env bash
# Installs the build into a temporary prefix as a user would
# (`cmake --install BUILD --prefix PREFIX`), validates what the desktop
# reads from it (the launcher, the metainfo, the document type, the icons)
# with the desktop's own tools, then starts the installed program from
# another folder: it paints an installed example offscreen and finds the
# guide installed beside it, also when the installation is moved or the
# program is reached through a link.
#
#   check-install.sh CMAKE BUILD_DIR SOURCE_DIR APP_ID
set -uo pipefail

cmake=$1 build=$2 source=$3 id=$4

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The tools come with scripts/setup.sh; a missing one is a failure, so a
# machine that was not set up cannot pass by skipping the checks.
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream \
            xmllint:libxml2-utils update-mime-database:shared-mime-info; do
  if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
    echo "FAIL: ${tool%%:*} is missing: install the Debian package ${tool#*:}" \
         "(scripts/setup.sh does)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
share=$prefix/share

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install $build --prefix $prefix" >&2
  exit 1
fi

# The width and height a PNG file states in its header, as "W H".
png_size() {
  local bytes
  bytes=($(od -An -tu1 -j16 -N8 "$1" 2>/dev/null))
  [ ${#bytes[@]} -eq 8 ] || return 1
  echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))" \
       "$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

is_png() {
  [ "$(od -An -tx1 -N8 "$1" 2>/dev/null | tr -d ' \n')" = 89504e470d0a1a0a ]
}

# The programs, the guide and the examples it walks through.
for program in quorvatelle qvl; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
for page in "$source"/docs/*.html; do
  cmp -s "$page" "$share/quorvatelle/docs/$(basename "$page")" ||
    fail "the guide's page $(basename "$page") is not installed"
done
for example in "$source"/examples/*.qvl; do
  cmp -s "$example" "$share/quorvatelle/examples/$(basename "$example")" ||
    fail "the example $(basename "$example") is not installed"
done

# The launcher: valid without a single hint, opening documents of our type.
desktop=$share/applications/$id.desktop
if [ -f "$desktop" ]; then
  if ! complaints=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$complaints" ]; then
    fail "desktop-file-validate $desktop: $complaints"
  fi
  for line in 'Type=Application' 'Exec=quorvatelle %f' "Icon=$id" \
              'MimeType=application/x-quorvatelle;'; do
    grep -qxF "$line" "$desktop" || fail "the launcher has no line '$line'"
  done
  grep -qE '^Categories=(.*;)?Office;' "$desktop" || fail "the launcher is not in Office"
else
  fail "no launcher $desktop"
fi

# The metainfo, named after the launcher it describes.
metainfo=$share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate --no-net $metainfo: $(cat "$work/appstream.log")"
  grep -qF "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
else
  fail "no metainfo $metainfo"
fi

# The document type, as the MIME database the install brought up to date
# learnt it: .qvl files are Quorvatelle documents, shown as text elsewhere.
mime=$share/mime/packages/$id.xml
if [ -f "$mime" ]; then
  xmllint --noout "$mime" 2>"$work/xmllint.log" || fail "xmllint $mime: $(cat "$work/xmllint.log")"
  grep -qxF 'application/x-quorvatelle text/plain' "$share/mime/subclasses" 2>/dev/null ||
    fail "the MIME database does not know application/x-quorvatelle as text/plain"
  grep -qE '^[0-9]+:application/x-quorvatelle:\*\.qvl$' "$share/mime/globs2" 2>/dev/null ||
    fail "the MIME database does not give *.qvl the type application/x-quorvatelle"
  grep -q '<comment>..*</comment>' "$share/mime/application/x-quorvatelle.xml" 2>/dev/null ||
    fail "the MIME database has no comment for application/x-quorvatelle"
else
  fail "no MIME description $mime"
fi

# The icon: the drawing, and pictures of it at the sizes panels ask for.
icons=$share/icons/hicolor
for svg in "$icons/scalable/apps/$id.svg" "$icons/scalable/mimetypes/application-x-quorvatelle.svg"; do
  xmllint --noout "$svg" 2>/dev/null || fail "no valid SVG icon $svg"
done
for size in 16 32 48 64 128 256; do
  picture=$icons/${size}x$size/apps/$id.png
  if ! is_png "$picture"; then
    fail "no PNG icon $picture (rsvg-convert from librsvg2-bin draws it at build time)"
  elif [ "$(png_size "$picture")" != "$size $size" ]; then
    fail "$picture is $(png_size "$picture"), not $size by $size"
  fi
done

# The installed program, started from a folder that is neither the build
# nor the source tree, on the example installed with it.
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
if ! (cd "$elsewhere" && QT_QPA_PLATFORM=offscreen "$prefix/bin/quorvatelle" --screenshot out.png \
        "$share/quorvatelle/examples/prices.qvl") >"$work/program.log" 2>&1; then
  fail "the installed program did not paint prices.qvl: $(cat "$work/program.log")"
elif ! is_png "$elsewhere/out.png" || [ "$(png_size "$elsewhere/out.png")" != "1024 768" ]; then
  fail "the installed program's screenshot is not a 1024 by 768 PNG"
fi
(cd "$elsewhere" && "$prefix/bin/qvl" check "$share/quorvatelle/examples/prices.qvl") \
  >"$work/qvl.log" 2>&1 || fail "the installed qvl did not check prices.qvl: $(cat "$work/qvl.log")"

# The guide Help opens is the one installed with the program, not the one
# of the configured prefix or of the source tree, wherever the program is.
guide_of() {
  (cd "$elsewhere" && "$1" --guide-path 2>&1)
}
expected=$(realpath "$share/quorvatelle/docs/index.html")
found=$(guide_of "$prefix/bin/quorvatelle")
[ "$found" = "$expected" ] || fail "the installed program's guide is '$found', not $expected"

ln -s "$prefix/bin/quorvatelle" "$elsewhere/linked-quorvatelle"
found=$(guide_of "$elsewhere/linked-quorvatelle")
[ "$found" = "$expected" ] || fail "through a link, the program's guide is '$found', not $expected"

mv "$prefix" "$work/moved"
expected=$(realpath "$work/moved/share/quorvatelle/docs/index.html")
found=$(guide_of "$work/moved/bin/quorvatelle")
[ "$found" = "$expected" ] || fail "moved, the program's guide is '$found', not $expected"

if [ "$failures" -gt 0 ]; then
  echo "install: $failures failed" >&2
  exit 1
fi
echo "install: every check passed"
