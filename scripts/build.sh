#!/usr/bin/env bash
# Configures and builds Kavelin in build/ (the program ends up in build/bin/).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
