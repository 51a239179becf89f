#!/usr/bin/env bash
# Configures and builds Voxfab and its tests in build/. Extra CMake options come from the
# arguments and from VOXFAB_CMAKE_ARGS (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2086
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VOXFAB_CMAKE_ARGS:-} "$@" >/dev/null
cmake --build build -j"$(nproc)"
