#!/usr/bin/env bash
# Unpacks the Debian package the build made (cpack -G DEB) into a scratch
# root, checks that every installed file is there and that the package names
# the libraries it needs, and runs the unpacked program's command line.
#   check_package.sh BUILD_DIR VERSION APPSTREAM_ID SOURCE_DIR
# Exits 77 (a skipped test) when no package has been built.
set -euo pipefail
build=$1 version=$2 id=$3 source=$4
deb="$build/ohmara_${version}_amd64.deb"
if [ ! -f "$deb" ]; then
  echo "no $deb: build it with (cd $build && cpack -G DEB)"
  exit 77
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

files=(usr/bin/ohmara usr/share/applications/ohmara.desktop usr/share/icons/hicolor/scalable/apps/ohmara.svg
       "usr/share/metainfo/$id.metainfo.xml" usr/share/man/man1/ohmara.1)
for size in 16 22 24 32 48 64 128 256; do files+=("usr/share/icons/hicolor/${size}x${size}/apps/ohmara.png"); done
for picture in back Rh Lh Ch Ehr Eh Rv Lv Cv Evd Ev; do files+=("usr/share/ohmara/Pictures/$picture.bmp"); done
for file in "${files[@]}"; do [ -s "$root/$file" ] || fail "the package lacks $file"; done

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6printsupport6 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

bash "$source/tests/cli/check_program.sh" "$root/usr/bin/ohmara" "$source/tests/cli" \
  "$source/docs/solve-output.schema.json" "$version"
