#!/usr/bin/env bash
# install_test.sh BUILD-FOLDER C++-COMPILER
set -euo pipefail
build=$1
compiler=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
unset LINDOR_LIBRARY
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

libdir=$(dirname "$(find "$prefix" -name 'liblindor.so.1' | head -1)")
[ -n "$libdir" ] || fail "liblindor.so.1 was not installed"
readelf -d "$libdir/liblindor.so.1" | grep -q 'SONAME.*\[liblindor.so.1\]' || fail "the engine's soname is not liblindor.so.1"
for page in index.html Bug_New.htm; do
  [ -f "$prefix/share/nimbra/help/$page" ] || fail "help page $page missing"
done
[ -f "$prefix/share/man/man1/nimbra-cli.1" ] || fail "manual page missing"
[ -f "$prefix/share/applications/nimbra.desktop" ] || fail "desktop entry missing"
[ -f "$prefix/share/icons/hicolor/48x48/apps/nimbra.png" ] || fail "48x48 icon missing"

# nimbra-cli finds the engine in ../lib of its own folder.
version=$("$prefix/bin/nimbra-cli" --version)
[[ $version =~ ^nimbra-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "unexpected version text: $version"
"$prefix/bin/nimbra-cli" demo "$work/demo.mdb" --bugs 12 > "$work/demo.log"
NIMBRA_PASSWORD=maria-demo "$prefix/bin/nimbra-cli" --db "$work/demo.mdb" --user maria \
  --project 1 list --format csv > "$work/list.csv"
[ "$(wc -l < "$work/list.csv")" -gt 1 ] || fail "the demo database lists no bugs"

# The client, offscreen, opens the demo database from its options, logs in
# and shows its main window long enough to take a picture of it.
export NIMBRA_HOME=$work/options XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
"$prefix/bin/nimbra" --save-options --database "$work/demo.mdb" --login maria \
  --password maria-demo --project 1
timeout 120 "$prefix/bin/nimbra" --screenshot "$work/nimbra.png" 2> "$work/nimbra.err" \
  || { cat "$work/nimbra.err" >&2; fail "the installed nimbra did not show its window"; }
[ "$(stat -c %s "$work/nimbra.png")" -gt 5000 ] || fail "the window's picture is empty"

# Another program builds against the installed engine through pkg-config.
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --modversion lindor)" = "${version#nimbra-cli }" ] || fail "lindor.pc has another version"
cat > "$work/probe.cpp" <<'CPP'
#include <lindor/lindor.h>
int main()
{
    lindor::ComPtr<lindor::IExeContext> context;
    return lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context.put()) == lindor::S_OK ? 0 : 1;
}
CPP
# shellcheck disable=SC2046
"$compiler" -std=c++17 "$work/probe.cpp" -o "$prefix/bin/lindor-probe" $(pkg-config --cflags --libs lindor)
"$prefix/bin/lindor-probe" || fail "a program built with lindor.pc cannot create an engine object"
echo "installation under $prefix works"
