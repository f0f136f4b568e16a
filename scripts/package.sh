#!/usr/bin/env bash
# Builds the Debian packages from a build folder (cpack -G DEB, one package per install
# component; their dependencies come from the shared libraries the programs link, by
# dpkg-shlibdeps) and checks each: the files it holds (dpkg-deb -c), its control fields and files
# (dpkg-deb -I), and the programs and library unpacked from it.
#
#   tolvane          the programs, the shared library, the data (component runtime)
#   tolvane-dev      headers, the namelink, the CMake package, tolvane.pc (component dev)
#   python3-tolvane  the Python module (component python), when the build has it
#
#   scripts/package.sh [build-dir]      (default: build/, built by scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TOLVANE_BUILD_DIR:-$root/build}}
build=$(cd "$build" && pwd)
[ -f "$build/CPackConfig.cmake" ] || { echo "configure and build $build first" >&2; exit 1; }
out=$build/package
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" > "$out.log" 2>&1) || { cat "$out.log"; exit 1; }
fail() { echo "FAIL: $*" >&2; exit 1; }
version=$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
major=${version%%.*}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
lib=./usr/lib/$multiarch
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

# The packages this build makes, and nothing else.
packages=(tolvane tolvane-dev)
grep -q '^set(CPACK_COMPONENTS_ALL ".*python' "$build/CPackConfig.cmake" && packages+=(python3-tolvane)
made=$(cd "$out" && ls -- *.deb | sort | tr '\n' ' ')
want=$(for p in "${packages[@]}"; do echo "${p}_${version}_$(dpkg --print-architecture).deb"; done | sort | tr '\n' ' ')
[ "$made" = "$want" ] || fail "packages made: $made (expected $want)"
for p in "${packages[@]}"; do
  deb=$out/${p}_${version}_$(dpkg --print-architecture).deb
  echo "package: $deb ($(du -h "$deb" | cut -f1))"
done
deb_of() { echo "$out/${1}_${version}_$(dpkg --print-architecture).deb"; }
contents_of() { dpkg-deb -c "$(deb_of "$1")" | awk '{print $6}'; }
field() { dpkg-deb -f "$(deb_of "$1")" "$2"; }
# The Depends entries one a line, without their versions.
depends_names() { sed 's/, /\n/g; s/ ([^)]*)//g' <<< "$1"; }
expect_files() {
  local package=$1 contents
  shift
  contents=$(contents_of "$package")
  for path in "$@"; do
    grep -qxF "$path" <<< "$contents" || fail "$path is not in $package"
  done
}
# Paths of a package outside the pattern given (beyond the folders that lead to them).
expect_only() {
  local package=$1 pattern=$2 stray
  stray=$(contents_of "$package" | grep -vE "$pattern" | grep -vE '^\./$|^\./usr/$|^\./usr/share/$|^\./usr/share/doc/$|^\./usr/lib/$' || true)
  [ -z "$stray" ] || fail "unexpected paths in $package: $stray"
}
# Every control file root's, 0644, or 0755 for the maintainer scripts.
expect_strict_control() {
  local listing
  listing=$(dpkg-deb --ctrl-tarfile "$(deb_of "$1")" | tar -tvf - | grep -v '^d')
  ! grep -vE '^-rw-r--r-- root/root|^-rwxr-xr-x root/root' <<< "$listing" ||
    fail "control files of $1 with other owners or modes: $listing"
}
expect_version() {
  [ "$(field "$1" Package)" = "$1" ] || fail "Package: $(field "$1" Package) (expected $1)"
  [ "$(field "$1" Version)" = "$version" ] || fail "$1 Version: $(field "$1" Version)"
}

# tolvane: the programs, the library and the data.
expect_version tolvane
expect_files tolvane ./usr/bin/tolvane ./usr/bin/tolvane-cli \
    "$lib/libtolvane.so.$major" "$lib/libtolvane.so.$version" \
    ./usr/share/tolvane/define_py_tone.dll ./usr/share/tolvane/pinyin_words.txt \
    ./usr/share/tolvane/pinyin_pairs.txt ./usr/share/tolvane/pinyin_chars.txt \
    ./usr/share/tolvane/CC-CEDICT-LICENSE.txt ./usr/share/tolvane/sample.txt \
    ./usr/share/tolvane/polyphone_model.bin ./usr/share/tolvane/G2PM-LICENSE.txt \
    ./usr/share/applications/org.example.tolvane.desktop \
    ./usr/share/metainfo/org.example.tolvane.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.example.tolvane.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.example.tolvane.png \
    ./usr/share/man/man1/tolvane.1.gz ./usr/share/man/man1/tolvane-cli.1.gz \
    ./usr/share/doc/tolvane/copyright ./usr/share/doc/tolvane/LICENSE \
    ./usr/share/doc/tolvane/UNICODE-LICENSE.txt
expect_only tolvane "^\./usr/(bin|share/(tolvane|applications|metainfo|icons|man|doc/tolvane))(/|\$)|^${lib//./\\.}/(libtolvane\.so\.[0-9.]+)?\$"
expect_strict_control tolvane
depends=$(field tolvane Depends)
# What the programs link, found by dpkg-shlibdeps, and the platform plugin Qt loads at start.
for needed in libc6 libstdc++6 libicu72 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    qt6-qpa-plugins; do
  depends_names "$depends" | grep -qxF "$needed" || fail "Depends lacks $needed: $depends"
done
! depends_names "$depends" | grep -qxF tolvane || fail "tolvane depends on itself: $depends"
# The library's shlibs entry, for packages built against it, and ldconfig when it comes and goes.
dpkg-deb -e "$(deb_of tolvane)" "$unpacked/control"
[ "$(cat "$unpacked/control/shlibs")" = "libtolvane $major tolvane (>= $version)" ] ||
  fail "shlibs: $(cat "$unpacked/control/shlibs" 2>&1)"
grep -q ldconfig "$unpacked/control/postinst" && grep -q ldconfig "$unpacked/control/postrm" ||
  fail "ldconfig is not run when the library is installed and removed"
# The programs and the library in the package are stripped; the programs find the library by a
# path relative to themselves, never the build's; the library's SONAME is the major version's.
dpkg-deb -x "$(deb_of tolvane)" "$unpacked/tolvane"
for binary in usr/bin/tolvane usr/bin/tolvane-cli "$lib/libtolvane.so.$version"; do
  ! readelf -S "$unpacked/tolvane/$binary" | grep -q '\.symtab' || fail "$binary is not stripped"
done
for program in tolvane tolvane-cli; do
  runpath=$(readelf -d "$unpacked/tolvane/usr/bin/$program" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
  [ "$runpath" = "\$ORIGIN/../lib/$multiarch" ] || fail "$program's run path: $runpath"
done
readelf -d "$unpacked/tolvane/$lib/libtolvane.so.$version" | grep -qF "Library soname: [libtolvane.so.$major]" ||
  fail "the library's SONAME is not libtolvane.so.$major"
[ "$(HOME=$unpacked "$unpacked/tolvane/usr/bin/tolvane-cli" preview 北京 | head -1)" = "běi jīng" ] ||
  fail "the packaged tolvane-cli does not convert"
echo "tolvane Depends: $depends"
echo "tolvane Recommends: $(field tolvane Recommends)"

# tolvane-dev: the headers, the namelink, the CMake package and the .pc file, on the same version.
expect_version tolvane-dev
headers=$(cd "$root/include" && find tolvane -name '*.h' | sed 's|^|./usr/include/|')
# shellcheck disable=SC2086
expect_files tolvane-dev $headers "$lib/libtolvane.so" "$lib/pkgconfig/tolvane.pc" \
  "$lib/cmake/Tolvane/TolvaneConfig.cmake" "$lib/cmake/Tolvane/TolvaneConfigVersion.cmake" \
  "$lib/cmake/Tolvane/TolvaneTargets.cmake"
expect_only tolvane-dev "^\./usr/include/(tolvane(/[A-Za-z]+\.h)?)?/?\$|^${lib//./\\.}/(libtolvane\.so|pkgconfig/(tolvane\.pc)?|cmake/(Tolvane/(Tolvane[A-Za-z-]*\.cmake)?)?)?\$"
expect_strict_control tolvane-dev
[ "$(field tolvane-dev Depends)" = "tolvane (= $version)" ] || fail "tolvane-dev Depends: $(field tolvane-dev Depends)"
[ "$(field tolvane-dev Section)" = libdevel ] || fail "tolvane-dev Section: $(field tolvane-dev Section)"
dpkg-deb -x "$(deb_of tolvane-dev)" "$unpacked/dev"
[ "$(readlink "$unpacked/dev/$lib/libtolvane.so")" = "libtolvane.so.$major" ] ||
  fail "the namelink points to $(readlink "$unpacked/dev/$lib/libtolvane.so")"
grep -qx 'prefix=/usr' "$unpacked/dev/$lib/pkgconfig/tolvane.pc" || fail "tolvane.pc's prefix is not /usr"
grep -qx "Version: $version" "$unpacked/dev/$lib/pkgconfig/tolvane.pc" || fail "tolvane.pc's version"
echo "tolvane-dev Depends: $(field tolvane-dev Depends)"

# python3-tolvane: the module under Python 3's own folder, on the same version of tolvane.
if [[ " ${packages[*]} " = *" python3-tolvane "* ]]; then
  expect_version python3-tolvane
  expect_only python3-tolvane '^\./usr/lib/python3/(dist-packages(/|$)|$)|^\./usr/bin/(tolvane-dask)?$|^\./usr/share/doc/python3-tolvane(/|$)'
  contents_of python3-tolvane | grep -q '^\./usr/lib/python3/dist-packages/.*\.so$' ||
    fail "python3-tolvane holds no extension module"
  contents_of python3-tolvane | grep -qxF ./usr/bin/tolvane-dask ||
    fail "python3-tolvane holds no tolvane-dask"
  expect_strict_control python3-tolvane
  pydepends=$(field python3-tolvane Depends)
  grep -qF "tolvane (= $version)" <<< "$pydepends" || fail "python3-tolvane Depends: $pydepends"
  depends_names "$pydepends" | grep -qxF python3 || fail "python3-tolvane Depends lacks python3: $pydepends"
  [ "$(field python3-tolvane Recommends)" = "python3-dask, python3-distributed" ] ||
    fail "python3-tolvane Recommends: $(field python3-tolvane Recommends)"
  echo "python3-tolvane Depends: $pydepends"
else
  echo "python3-tolvane: not made (this build has no python component)"
fi
echo "packages checked: contents, control fields and files, library and programs"
