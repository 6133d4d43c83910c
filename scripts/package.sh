#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it: the files it
# installs, its declared dependencies, and that the unpacked programs run.
#   scripts/package.sh [build-folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_DIR:-$top/build}}
fail() { echo "FAILED: $*" >&2; exit 1; }

rm -f "$build"/nimbra_*.deb
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/nimbra_*.deb)
echo "Built $deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/nimbra ./usr/bin/nimbra-admin ./usr/bin/nimbra-cli \
            ./usr/lib/liblindor.so.1 ./usr/include/lindor/lindor.h ./usr/lib/pkgconfig/lindor.pc \
            ./usr/share/applications/nimbra.desktop ./usr/share/applications/nimbra-admin.desktop \
            ./usr/share/icons/hicolor/scalable/apps/nimbra.svg \
            ./usr/share/icons/hicolor/256x256/apps/nimbra-admin.png \
            ./usr/share/nimbra/help/index.html ./usr/share/nimbra/help/Bug_New.htm \
            ./usr/share/man/man1/nimbra-cli.1; do
  grep -qxF "$file" <<< "$contents" || fail "$file is not in the package"
done

info=$(dpkg-deb -I "$deb")
grep -q "^ Package: nimbra$" <<< "$info" || fail "package name"
grep -q "^ Version: $(sed -n 's/^project(Nimbra VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")$" <<< "$info" \
  || fail "the package's version is not the project's"
depends=$(sed -n 's/^ Depends: //p' <<< "$info")
for dependency in libsqlite3-0 libminizip1 libqt6widgets6 qt6-qpa-plugins; do
  grep -q "$dependency" <<< "$depends" || fail "Depends lacks $dependency: $depends"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
(unset LINDOR_LIBRARY; "$unpacked/usr/bin/nimbra-cli" demo "$unpacked/demo.mdb" --bugs 5 > /dev/null) \
  || fail "the packaged nimbra-cli cannot make a database"
echo "Package checked: $(wc -l <<< "$contents") entries; Depends: $depends"
