#!/usr/bin/env bash
# Builds Voxfab and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/ and runs every test that needs no OpenGL context (all but label gl). Any
# sanitizer report fails the test that triggered it, and so the run. Warnings are the main
# build's business (-Werror there); instrumented code draws false ones from GCC.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2086
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOXFAB_SANITIZE=address,undefined \
  ${VOXFAB_CMAKE_ARGS:-} -DVOXFAB_BENCH=OFF -DVOXFAB_WERROR=OFF "$@" >/dev/null
cmake --build build-sanitize -j"$(nproc)"
cd build-sanitize
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$(pwd)/../tests/data/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --output-on-failure -j"$(nproc)" -LE gl
