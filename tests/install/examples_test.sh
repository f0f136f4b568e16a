#!/usr/bin/env bash
# Installs the build under /usr into a fresh DESTDIR and builds the C++ example against that
# installation as a developer would, both ways: with CMake (find_package(Tolvane), found through
# CMAKE_PREFIX_PATH) and with pkg-config (tolvane.pc, found through PKG_CONFIG_PATH with the
# DESTDIR as sysroot). Both programs then run on the installed library and data. A package
# config or .pc file that names a wrong folder, or headers that need more than C++17, fail it.
# The installed Python module then runs the Python example and the Dask recipe (a local cluster
# of two processes), whose targets must be tolvane-cli's.
#
#   examples_test.sh BUILD-DIR SOURCE-DIR CXX-COMPILER
set -euo pipefail
build=$1
source=$(cd "$2" && pwd)
cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log"
usr=$dest/usr
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=$usr/lib/$multiarch
[ -n "$multiarch" ] && [ -d "$libdir" ] || fail "no library folder /usr/lib/$multiarch"
data=$usr/share/tolvane
# Nothing may come from an installation on this machine instead of the DESTDIR one.
[ ! -e /usr/include/tolvane ] && [ ! -e /usr/local/include/tolvane ] ||
  fail "this machine has Tolvane's headers installed; the test needs a machine without"

# Every public header compiles on its own, in C++17, without warnings.
for header in "$usr"/include/tolvane/*.h; do
  name=${header#"$usr/include/"}
  printf '#include <%s>\n' "$name" > "$work/header.cpp"
  "$cxx" -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$usr/include" \
    "$work/header.cpp" 2> "$work/header.log" || { cat "$work/header.log"; fail "$name does not compile alone in C++17"; }
done
[ -f "$usr/include/tolvane/tolvane.h" ] || fail "tolvane/tolvane.h is not installed"

# The same conversions from both builds of the example: a polyphone read from its word, and the
# line from standard input.
check_example() {
  local how=$1 program=$2
  [ -x "$program" ] || fail "$how: no program built"
  local out
  out=$(LD_LIBRARY_PATH=$libdir "$program" --data-dir "$data" 银行) || fail "$how: pinyin_line failed"
  [ "$out" = $'银\tyín\n行\tháng\nyín háng' ] || fail "$how: 银行 gave: $out"
  out=$(printf '银行行走\r\n' | LD_LIBRARY_PATH=$libdir "$program" --data-dir "$data") ||
    fail "$how: pinyin_line on standard input failed"
  [ "$(tail -1 <<< "$out")" = "yín háng xíng zǒu" ] || fail "$how: 银行行走 from standard input gave: $out"
  # Without a data folder, the library finds the data installed with it, under the prefix it
  # lies in (not the one the build was configured for).
  out=$(HOME=$work/home LD_LIBRARY_PATH=$libdir "$program" 银行) ||
    fail "$how: pinyin_line without --data-dir failed"
  [ "$(tail -1 <<< "$out")" = "yín háng" ] || fail "$how: 银行 without --data-dir gave: $out"
  # The py-only line is the one the installed tolvane-cli writes.
  out=$(LD_LIBRARY_PATH=$libdir "$program" --data-dir "$data" "$sentence") || fail "$how: pinyin_line failed"
  [ "$(tail -1 <<< "$out")" = "$cli_line" ] || fail "$how: $sentence gave '$(tail -1 <<< "$out")', tolvane-cli '$cli_line'"
  # It runs on the installed library, not on one of the build's.
  LD_LIBRARY_PATH=$libdir ldd "$program" | grep -F "libtolvane.so" | grep -qF "$libdir/" ||
    fail "$how: libtolvane.so does not come from the installation: $(LD_LIBRARY_PATH=$libdir ldd "$program")"
  # A tolvane::Error reaches the program across the library: a data folder that does not exist.
  local status=0
  LD_LIBRARY_PATH=$libdir "$program" --data-dir "$work/no such folder" 银行 > /dev/null 2> "$work/error.log" ||
    status=$?
  [ "$status" = 1 ] || fail "$how: a missing data folder ended with status $status: $(cat "$work/error.log")"
  grep -qF "no such folder" "$work/error.log" || fail "$how: the error does not name the folder: $(cat "$work/error.log")"
}

sentence='他说：“我们明天去银行取钱。”'
cli_line=$(printf '%s\n' "$sentence" | "$usr/bin/tolvane-cli" convert --quiet --format py-only --data-dir "$data" - -)
cli_line=${cli_line%$'\r'}  # convert ends its lines as the designed output does, CR LF
[ -n "$cli_line" ] || fail "the installed tolvane-cli wrote nothing for $sentence"

# CMake: find_package(Tolvane 1) from the installation, in C++17.
cmake -S "$source/examples/cpp" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$usr" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
  > "$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; fail "configuring the CMake example"; }
cmake --build "$work/cmake-build" > "$work/cmake-build.log" 2>&1 ||
  { cat "$work/cmake-build.log"; fail "building the CMake example"; }
grep -qF "Tolvane_DIR:PATH=$libdir/cmake/Tolvane" "$work/cmake-build/CMakeCache.txt" ||
  fail "find_package(Tolvane) did not find the installed package: $(grep Tolvane_DIR "$work/cmake-build/CMakeCache.txt")"
grep -qF "$usr/include" "$work/cmake-build/compile_commands.json" ||
  fail "the CMake example does not include the installed headers: $(cat "$work/cmake-build/compile_commands.json")"
check_example CMake "$work/cmake-build/pinyin_line"

# pkg-config: tolvane.pc from the installation only, its /usr folders taken inside the DESTDIR.
# The sysroot's /usr/include and /usr/lib are not this machine's, so pkg-config must not drop them
# as system folders.
mkdir "$work/make-build"
export PKG_CONFIG_LIBDIR=$libdir/pkgconfig PKG_CONFIG_PATH=$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$dest
export PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1
[ "$(pkg-config --modversion tolvane)" = "$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")" ] ||
  fail "tolvane.pc gives version $(pkg-config --modversion tolvane)"
# pkg-config's flags, without the space pkgconf leaves after them.
flags() { local out; out=$(pkg-config "$1" tolvane); echo "${out%"${out##*[! ]}"}"; }
[ "$(flags --cflags)" = "-I$usr/include" ] || fail "pkg-config --cflags tolvane: $(flags --cflags)"
[ "$(flags --libs)" = "-L$libdir -ltolvane" ] || fail "pkg-config --libs tolvane: $(flags --libs)"
make -C "$work/make-build" -f "$source/examples/cpp/Makefile" CXX="$cxx" > "$work/make.log" 2>&1 ||
  { cat "$work/make.log"; fail "building the example with pkg-config"; }
check_example pkg-config "$work/make-build/pinyin_line"
echo "the C++ example builds with CMake and with pkg-config against the installation, and runs: ok"

# The Python module as installed (the python component: python3-tolvane's files), its example
# script and the Dask recipe, on the installed library and the data installed with it.
pydir=$usr/lib/python3/dist-packages
if [ -d "$pydir/tolvane" ]; then
  export PYTHONPATH=$pydir LD_LIBRARY_PATH=$libdir HOME=$work/home
  /usr/bin/python3 -c 'import sys, tolvane; sys.exit(not tolvane.__file__.startswith(sys.argv[1]))' \
    "$pydir/" || fail "the module imported is not the installed one"
  out=$(printf '银行行走\n' | /usr/bin/python3 "$source/examples/python/annotate.py" --readings --tone numbered) ||
    fail "the Python example failed"
  [ "$out" = "yin2 hang2 xing2 zou3" ] || fail "the Python example gave: $out"
  printf '%s\n' "$sentence" > "$work/sentence.txt"
  out=$(/usr/bin/python3 "$source/examples/python/annotate.py" --format py-only "$work/sentence.txt") ||
    fail "the Python example on a file failed"
  [ "$(tr -d '\r' <<< "$out")" = "$cli_line" ] || fail "the Python example gave '$out', tolvane-cli '$cli_line'"
  if /usr/bin/python3 -c 'import distributed' 2> /dev/null; then
    mkdir -p "$work/corpus/sub"
    printf '%s\n' "$sentence" > "$work/corpus/a.txt"
    printf '银行行走\n' > "$work/corpus/sub/b.txt"
    /usr/bin/python3 "$source/examples/dask/annotate_corpus.py" "$work/corpus" "$work/out" --workers 2 \
      > "$work/dask.log" 2>&1 || { cat "$work/dask.log"; fail "the Dask example failed"; }
    for name in a sub/b; do
      "$usr/bin/tolvane-cli" convert --quiet --data-dir "$data" "$work/corpus/$name.txt" "$work/cli.txt"
      cmp -s "$work/cli.txt" "$work/out/${name}_拼音.txt" ||
        fail "the Dask example's $name target differs from tolvane-cli's"
    done
  fi
  echo "the Python example and the Dask recipe run on the installed module: ok"
else
  echo "the build has no Python module: its examples are not run"
fi
