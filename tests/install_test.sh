#!/usr/bin/env bash
# Install into a fresh prefix, then build and run a consumer against it.
#
#	tests/install_test.sh build-directory c++-compiler
set -euo pipefail
build=$1
compiler=$2
source_dir=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
for file in bin/baglist bin/bagwalk share/man/man1/baglist.1 \
    share/man/man1/bagwalk.1 include/multiset_enumerator.hpp \
    share/cmake/bags/bagsConfig.cmake; do
	if [ ! -e "$scratch/prefix/$file" ]; then
		echo "install_test: $file was not installed" >&2
		exit 1
	fi
done

cmake -S "$source_dir/consumer" -B "$scratch/consumer" \
    -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/consumer" >/dev/null
expected='vanilla vanilla 
vanilla mint 
mint mint 
vanilla+vanilla+vanilla
vanilla+vanilla+mint
4'
actual=$("$scratch/consumer/consumer")
if [ "$actual" != "$expected" ]; then
	printf 'install_test: the consumer wrote\n%s\ninstead of\n%s\n' "$actual" "$expected" >&2
	exit 1
fi
"$scratch/prefix/bin/baglist" 2 a b | cmp - <(printf 'a a \na b \nb b \n')
echo "install_test: installed, found and used"
