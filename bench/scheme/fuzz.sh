#!/usr/bin/env bash
# Builds the two libFuzzer targets (URL to path, listing builder) with clang and runs each for
# a while. Not part of the test suite.
#   bench/scheme/fuzz.sh [seconds per target, default 60]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
out=${FUZZ_OUT:-/tmp/kavelin-fuzz}
seconds=${1:-60}
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$src" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
common=("$src/scheme/urltopath.cpp" "$src/scheme/listingtext.cpp" "$src/scheme/tfileinfo.cpp"
        "$src/scheme/listingpage.cpp" "$src/sniper/timeformat.cpp")
for target in fuzz_urltopath fuzz_listing; do
  clang++ "${flags[@]}" "$here/fuzz/$target.cpp" "${common[@]}" "${libs[@]}" -o "$out/$target"
  mkdir -p "$out/$target.corpus"
  echo "== $target ($seconds s)"
  "$out/$target" -max_total_time="$seconds" -max_len=512 "$out/$target.corpus"
done
