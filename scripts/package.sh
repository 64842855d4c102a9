#!/usr/bin/env bash
# Installs what is missing, builds the program and makes its Debian package in build/
# (kavelin_<version>_<architecture>.deb); prints the package's path.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kavelin zorvan
cd build
cpack -G DEB >/dev/null
ls "$PWD"/kavelin_*.deb
