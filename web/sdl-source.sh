#!/bin/sh
# Unpacks Debian's libsdl2 source package into $1/src (once): apt fetches it with a
# private list of deb-src entries and its own state under $1, made from the system's
# Debian entries, so the system's apt configuration is left as it is.
set -e
dir=$1
[ -f "$dir/src/CMakeLists.txt" ] && exit 0
mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial" "$dir/download"
dir=$(cd "$dir" && pwd)
list=$dir/apt/deb-src.sources
: >"$list"
# deb822 files: every stanza of type deb, as deb-src. One-line files: every deb line.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed -n '/^Types:/{s/^Types:.*\bdeb\b.*/Types: deb-src/};p' "$f" >>"$list" && echo >>"$list"
done
lines=$dir/apt/deb-src.list
cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' >"$lines"
apt_() {
  apt-get -q -o Dir::Etc::SourceList="$lines" -o Dir::Etc::SourceParts="$dir/apt/parts" \
    -o Dir::State::Lists="$dir/apt/lists" -o Dir::Cache="$dir/apt/cache" "$@"
}
mkdir -p "$dir/apt/parts"
cp "$list" "$dir/apt/parts/deb-src.sources"
# Archives that publish no sources (third-party binary repositories) only warn.
apt_ update >"$dir/apt/update.log" 2>&1 || { cat "$dir/apt/update.log"; exit 1; }
cd "$dir/download"
apt_ source libsdl2 >"$dir/apt/source.log" 2>&1 || { cat "$dir/apt/source.log"; exit 1; }
src=$(find . -maxdepth 1 -type d -name 'libsdl2-*' | head -n1)
[ -n "$src" ] && [ -f "$src/CMakeLists.txt" ] || { echo "no libsdl2 source unpacked"; exit 1; }
rm -rf "$dir/src"
mv "$src" "$dir/src"
echo "SDL source: $(sed -n 's/^Version: //p' libsdl2_*.dsc) from Debian"
