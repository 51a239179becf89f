#!/usr/bin/env bash
# Installs what is missing, builds Voxfab and runs every test.
# Tests that need an OpenGL context (label gl) run under a virtual X server with Mesa's
# software renderer; all others use Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)"
