#!/usr/bin/env bash
# Installs what is missing, builds Voxfab and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
exec ./build/src/app/voxfab
