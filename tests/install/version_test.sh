#!/usr/bin/env bash
# The version is written once, in project() of CMakeLists.txt: installed, tolvane-cli --version,
# the headers of both manual pages, the AppStream release, the library's file name, tolvane.pc
# and the CMake package's version file all give that version, and the templates of packaging/
# and cmake/ that carry it write none of their own.
#
#   version_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

version=$(sed -n 's/^project(Tolvane VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$source/CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no version in project() of CMakeLists.txt"; exit 1; }
DESTDIR=$work cmake --install "$build" --prefix /usr > /dev/null
usr=$work/usr

said=$(HOME=$work "$usr/bin/tolvane-cli" --version)
[ "$said" = "tolvane-cli $version" ] || fail "tolvane-cli --version says \"$said\", not $version"
for page in tolvane.1 tolvane-cli.1; do
  header=$(gzip -dc "$usr/share/man/man1/$page.gz" | head -n 1)
  case $header in
    ".TH "*" \"Tolvane $version\" "*) ;;
    *) fail "$page: header \"$header\" does not name Tolvane $version" ;;
  esac
done
releases=$(grep -o '<release version="[^"]*"' "$usr/share/metainfo/org.example.tolvane.metainfo.xml" |
           sed 's/.*="\(.*\)"/\1/')
[ "$(head -n 1 <<< "$releases")" = "$version" ] ||
  fail "the newest AppStream release is \"$(head -n 1 <<< "$releases")\", not $version"

# The library's file and SONAME, tolvane.pc and the CMake package's version file.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
lib=$usr/lib/$multiarch
[ -f "$lib/libtolvane.so.$version" ] || fail "no libtolvane.so.$version: $(ls "$lib")"
readelf -d "$lib/libtolvane.so.$version" | grep -qF "[libtolvane.so.${version%%.*}]" ||
  fail "the library's SONAME is not libtolvane.so.${version%%.*}"
grep -qx "Version: $version" "$lib/pkgconfig/tolvane.pc" || fail "tolvane.pc does not give $version"
grep -qF "set(PACKAGE_VERSION \"$version\")" "$lib/cmake/Tolvane/TolvaneConfigVersion.cmake" ||
  fail "TolvaneConfigVersion.cmake does not give $version"

# A version written into a template would go stale at the next release.
for template in "$source"/packaging/*.in "$source"/cmake/*.in; do
  ! grep -qF -- "$version" "$template" || fail "$(basename "$template") writes $version itself"
done
[ "$status" -eq 0 ] && echo "version $version everywhere: ok"
exit "$status"
