#!/bin/sh
# Unpacks Debian's libsdl2 source package into $1/src, once. apt fetches it with its
# own state under $1 and its own list of deb-src entries, made from the system's deb
# entries, so the system's apt configuration is left as it is.
set -e
[ -f "$1/src/CMakeLists.txt" ] && exit 0
mkdir -p "$1/apt/lists/partial" "$1/apt/cache/archives/partial" "$1/apt/parts" "$1/download"
dir=$(cd "$1" && pwd)
# deb822 files: every stanza of type deb, as deb-src. One-line files: every deb line.
: >"$dir/apt/parts/deb-src.sources"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed 's/^Types:.*\bdeb\b.*/Types: deb-src/' "$f" >>"$dir/apt/parts/deb-src.sources"
  echo >>"$dir/apt/parts/deb-src.sources"
done
cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' >"$dir/apt/deb-src.list"
apt_() {
  apt-get -q -o Dir::Etc::SourceList="$dir/apt/deb-src.list" \
    -o Dir::Etc::SourceParts="$dir/apt/parts" -o Dir::State::Lists="$dir/apt/lists" \
    -o Dir::Cache="$dir/apt/cache" "$@"
}
# Archives that publish no sources (third-party binary repositories) only warn.
apt_ update >"$dir/apt/update.log" 2>&1 || { cat "$dir/apt/update.log"; exit 1; }
cd "$dir/download"
apt_ source libsdl2 >"$dir/apt/source.log" 2>&1 || { cat "$dir/apt/source.log"; exit 1; }
src=$(find . -maxdepth 1 -type d -name 'libsdl2-*' | head -n1)
[ -n "$src" ] && [ -f "$src/CMakeLists.txt" ] || { echo "no libsdl2 source unpacked"; exit 1; }
rm -rf "$dir/src"
mv "$src" "$dir/src"
echo "SDL source: $(sed -n 's/^Version: //p' libsdl2_*.dsc) from Debian"
